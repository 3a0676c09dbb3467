"""The same sources build to the same bytes: a clean build of the shipping
program and its ZIP in a fresh directory, at another path, gives files
identical to the main build's."""

import hashlib
import os
import subprocess
import tempfile
import time
import unittest

SOURCE = os.environ["SKELLIMOR_SOURCE_DIR"]
MAIN_BUILD = os.environ["SKELLIMOR_WIN32_BUILD"]
CMAKE = os.environ["SKELLIMOR_CMAKE"]
PRODUCTS = [os.path.join("window", "Morvath's Skellimor.exe"),
            os.path.basename(os.environ["SKELLIMOR_WIN32_ZIP"])]


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def run(argv):
    result = subprocess.run(argv, cwd=SOURCE, capture_output=True, text=True)
    if result.returncode != 0:
        raise AssertionError(f"{' '.join(argv)} failed:\n{result.stdout[-3000:]}{result.stderr[-3000:]}")


class ReproducibleBuild(unittest.TestCase):
    def test_a_fresh_build_gives_the_same_bytes(self):
        with tempfile.TemporaryDirectory(prefix="skellimor-fresh-build-") as fresh:
            started = time.monotonic()
            run([CMAKE, "--preset", "win32", "-B", fresh])
            run([CMAKE, "--build", fresh, "--target", "package", "-j", "2"])
            print(f"fresh build of the program and its ZIP: {time.monotonic() - started:.1f} s")
            for product in PRODUCTS:
                with self.subTest(product):
                    self.assertEqual(sha256(os.path.join(fresh, product)), sha256(os.path.join(MAIN_BUILD, product)),
                                     f"{product} differs from the main build's (is {MAIN_BUILD} up to date?)")


if __name__ == "__main__":
    unittest.main()
