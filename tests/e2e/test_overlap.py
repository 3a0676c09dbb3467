"""The Windows program's window over the camera rectangle (see overlap_cases.py)."""

import unittest

from overlap_cases import OverlapCases
from skellimor import DesktopTestCase


class OverlapTest(OverlapCases, DesktopTestCase):
    pass


if __name__ == "__main__":
    unittest.main()
