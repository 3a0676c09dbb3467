"""The Debian package of the Linux edition: what it holds, what it declares,
and that the program from it starts and shows its window."""

import glob
import os
import shutil
import subprocess
import tempfile
import unittest

from edition import LinuxDesktop, launch_program
from images import parse_ppm
from window_face import ASSETS, picture_problems, settled

EXPECTED_FILES = {
    "./usr/bin/morvaths-skellimor",
    "./usr/share/applications/morvaths-skellimor.desktop",
    "./usr/share/icons/hicolor/32x32/apps/morvaths-skellimor.png",
}


def picture_of(path, kind):
    ppm = subprocess.run(["convert", f"{kind}:{path}", "-depth", "8", "ppm:-"], capture_output=True, check=True,
                         timeout=30).stdout
    return parse_ppm(ppm)


class PackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        build = os.environ["SKELLIMOR_LINUX_BUILD"]
        found = glob.glob(os.path.join(build, "morvaths-skellimor_*_*.deb"))
        if len(found) != 1:
            raise AssertionError(f"expected one package in {build} (cmake --build --preset linux --target "
                                 f"package): {found}")
        cls.deb = found[0]
        cls.root = tempfile.mkdtemp(prefix="skellimor-deb-")
        subprocess.run(["dpkg-deb", "-x", cls.deb, cls.root], check=True, timeout=60)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.root, ignore_errors=True)

    def field(self, name):
        return subprocess.run(["dpkg-deb", "-f", self.deb, name], capture_output=True, text=True, check=True,
                              timeout=30).stdout.strip()

    def test_name_version_and_files(self):
        version, architecture = self.field("Version"), self.field("Architecture")
        self.assertEqual(os.path.basename(self.deb), f"morvaths-skellimor_{version}_{architecture}.deb")
        self.assertEqual(self.field("Package"), "morvaths-skellimor")
        listing = subprocess.run(["dpkg-deb", "-c", self.deb], capture_output=True, text=True, check=True,
                                 timeout=30).stdout.splitlines()
        files = {line.split()[-1] for line in listing if not line.startswith("d")}
        self.assertEqual(files, EXPECTED_FILES)
        self.assertTrue(all(" root/root " in line for line in listing), "files not owned by root")

    def test_library_dependencies_are_declared(self):
        depends = {part.split()[0] for part in self.field("Depends").split(", ")}
        for package in ("libc6", "libstdc++6", "libqt6core6", "libqt6gui6", "libqt6widgets6", "libxcb1"):
            self.assertIn(package, depends)

    def test_desktop_entry_and_icon(self):
        with open(os.path.join(self.root, "usr/share/applications/morvaths-skellimor.desktop")) as f:
            entry = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
        self.assertEqual(entry["Name"], "Morvath's Skellimor")
        self.assertEqual(entry["Exec"], "morvaths-skellimor")
        self.assertEqual(entry["Icon"], "morvaths-skellimor")
        self.assertEqual(entry["Type"], "Application")
        icon = picture_of(os.path.join(self.root, "usr/share/icons/hicolor/32x32/apps/morvaths-skellimor.png"),
                          "png")
        self.assertEqual(icon.size, (32, 32))
        self.assertEqual(icon.differences(picture_of(os.path.join(ASSETS, "Form1.ico"), "ico")), [])

    def test_the_program_from_the_package_starts(self):
        desktop = LinuxDesktop().start()
        try:
            program = launch_program(desktop, os.path.join(self.root, "usr/bin/morvaths-skellimor"))
            self.assertEqual(settled(program, lambda client: picture_problems(client, "Picture1") +
                                     picture_problems(client, "Image1")), [])
            self.assertIsNone(program.process.poll())
        finally:
            desktop.close()

if __name__ == "__main__":
    unittest.main()
