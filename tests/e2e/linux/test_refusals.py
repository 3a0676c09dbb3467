"""The Linux edition's refusals (see refusal_cases.py)."""

import unittest

from edition import LinuxTestCase
from refusal_cases import RefusalCases


class RefusalTest(RefusalCases, LinuxTestCase):
    pass


if __name__ == "__main__":
    unittest.main()
