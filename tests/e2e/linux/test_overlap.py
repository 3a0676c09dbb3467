"""The Linux edition's window over the camera rectangle (see overlap_cases.py)."""

import unittest

from edition import LinuxTestCase
from overlap_cases import OverlapCases


class OverlapTest(OverlapCases, LinuxTestCase):
    pass


if __name__ == "__main__":
    unittest.main()
