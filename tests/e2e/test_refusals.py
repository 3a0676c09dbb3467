"""The Windows program's refusals (see refusal_cases.py); its message box shows
the question icon."""

import unittest

from refusal_cases import RefusalCases
from skellimor import DesktopTestCase


class RefusalTest(RefusalCases, DesktopTestCase):
    def assertQuestionIcon(self, box):
        self.assertEqual(box.icons, ["question"])


if __name__ == "__main__":
    unittest.main()
