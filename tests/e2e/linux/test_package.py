"""The Debian package of the Linux edition: what it holds and declares, as
Debian's and the desktops' own checkers read it (lintian, desktop-file-validate,
appstreamcli), its icons as the picture generator draws them, and that the
program installed from it starts and shows its window."""

import glob
import json
import os
import shutil
import subprocess
import tempfile
import unittest

from edition import LinuxDesktop, launch_program
from images import parse_ppm
from window_face import ASSETS, picture_problems, settled

NAME = "morvaths-skellimor"
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
METAINFO = "usr/share/metainfo/example.morvath.skellimor.metainfo.xml"


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
        # Installed into a scratch root, as dpkg installs it.
        os.makedirs(os.path.join(cls.root, "var/lib/dpkg/updates"))
        os.makedirs(os.path.join(cls.root, "var/lib/dpkg/info"))
        open(os.path.join(cls.root, "var/lib/dpkg/status"), "w").close()
        subprocess.run(["dpkg", "--root", cls.root, "--force-depends", "--force-script-chrootless", "--force-not-root",
                        "--install", cls.deb], check=True, capture_output=True, timeout=120)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.root, ignore_errors=True)

    def field(self, name):
        return subprocess.run(["dpkg-deb", "-f", self.deb, name], capture_output=True, text=True, check=True,
                              timeout=30).stdout.strip()

    def test_lintian_finds_nothing(self):
        result = subprocess.run(["lintian", "--fail-on", "error,warning", self.deb], capture_output=True, text=True,
                                timeout=300)
        findings = [line for line in result.stdout.splitlines() if line[:2] in ("E:", "W:")]
        self.assertEqual((result.returncode, findings), (0, []), result.stdout + result.stderr)

    def test_name_version_and_ownership(self):
        version, architecture = self.field("Version"), self.field("Architecture")
        self.assertEqual(os.path.basename(self.deb), f"{NAME}_{version}_{architecture}.deb")
        self.assertEqual(self.field("Package"), NAME)
        self.assertEqual(self.field("Recommends"), "xdg-utils")  # the banner opens the home page through it
        listing = subprocess.run(["dpkg-deb", "-c", self.deb], capture_output=True, text=True, check=True,
                                 timeout=30).stdout.splitlines()
        self.assertTrue(all(" root/root " in line for line in listing), "files not owned by root")

    def test_library_dependencies_are_declared(self):
        depends = {part.split()[0] for part in self.field("Depends").split(", ")}
        for package in ("libc6", "libstdc++6", "libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6dbus6",
                        "libxcb1"):
            self.assertIn(package, depends)

    def test_desktop_entry_and_metadata_pass_their_validators(self):
        entry_path = os.path.join(self.root, f"usr/share/applications/{NAME}.desktop")
        for command in (["desktop-file-validate", entry_path],
                        ["appstreamcli", "validate", "--no-net", os.path.join(self.root, METAINFO)]):
            result = subprocess.run(command, capture_output=True, text=True, timeout=120)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
            self.assertNotRegex(result.stdout, r"(?m)^[EW]:", result.stdout)
        with open(entry_path) as f:
            entry = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
        # KWin gives window pictures only to the program whose whole path the entry names.
        self.assertEqual((entry["Name"], entry["Exec"], entry["Icon"]), ("Morvath's Skellimor", f"/usr/bin/{NAME}", NAME))
        self.assertEqual(entry["X-KDE-DBUS-Restricted-Interfaces"], "org.kde.KWin.ScreenShot2")

    def test_icons_are_the_window_icon_at_every_size(self):
        generated = tempfile.mkdtemp(prefix="skellimor-icons-")
        self.addCleanup(shutil.rmtree, generated, True)
        subprocess.run([os.path.join(os.environ["SKELLIMOR_LINUX_BUILD"], "tools", "make_icons"), generated],
                       check=True, timeout=60)
        for size in ICON_SIZES:
            with self.subTest(size=size):
                icon = picture_of(os.path.join(self.root, f"usr/share/icons/hicolor/{size}x{size}/apps/{NAME}.png"),
                                  "png")
                self.assertEqual(icon.size, (size, size))
                self.assertEqual(icon.differences(picture_of(os.path.join(generated, f"{size}.bmp"), "bmp")), [])
        icon = picture_of(os.path.join(self.root, f"usr/share/icons/hicolor/32x32/apps/{NAME}.png"), "png")
        self.assertEqual(icon.differences(picture_of(os.path.join(ASSETS, "Form1.ico"), "ico")), [])

    def test_manual_page_copyright_and_changelog(self):
        page = subprocess.run(["man", "--warnings", "-l", os.path.join(self.root, f"usr/share/man/man1/{NAME}.1.gz")],
                              capture_output=True, text=True, env=dict(os.environ, MANWIDTH="80"), timeout=60)
        self.assertEqual(page.stderr, "")
        for section in ("NAME", "SYNOPSIS", "DESCRIPTION", "FILES", "EXIT STATUS", "SEE ALSO", "X11 AND WAYLAND"):
            self.assertRegex(page.stdout, rf"(?m)^{section}$")
        doc = os.path.join(self.root, f"usr/share/doc/{NAME}")
        with open(os.path.join(doc, "copyright")) as f:
            copyright_text = f.read()
        self.assertTrue(copyright_text.startswith("Format: https://www.debian.org/doc/packaging-manuals/"))
        self.assertIn("Copyright: 2026 the Morvath's Skellimor authors", copyright_text)
        self.assertTrue(os.path.exists(os.path.join(doc, "changelog.Debian.gz")))

    def test_gnome_shell_extension_is_installed_for_every_user(self):
        # Where GNOME Shell looks for extensions installed by the system, named by its uuid.
        folder = os.path.join(self.root, "usr/share/gnome-shell/extensions/skellimor@morvath.example")
        self.assertEqual(sorted(os.listdir(folder)), ["access.js", "extension.js", "metadata.json"])
        with open(os.path.join(folder, "metadata.json")) as f:
            metadata = json.load(f)
        self.assertEqual(metadata["uuid"], "skellimor@morvath.example")
        self.assertIn("43", metadata["shell-version"])
        with open(os.path.join(folder, "access.js")) as f:
            self.assertIn(f"var PROGRAM = '/usr/bin/{NAME}';", f.read())

    def test_the_program_from_the_package_starts(self):
        desktop = LinuxDesktop().start()
        try:
            program = launch_program(desktop, os.path.join(self.root, f"usr/bin/{NAME}"))
            self.assertEqual(settled(program, lambda client: picture_problems(client, "Picture1") +
                                     picture_problems(client, "Image1")), [])
            self.assertIsNone(program.process.poll())
        finally:
            desktop.close()

if __name__ == "__main__":
    unittest.main()
