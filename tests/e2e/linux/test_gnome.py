"""GNOME on Wayland through the program's GNOME Shell extension, on a headless
GNOME Shell (gnome_session.py): native Wayland and X11 viewers copied exactly,
our window over the camera, the extension's refusals, and the advice where it is
disabled. The shell's XWayland has no screen to read, so the expected pictures
come from the sample viewer's known test picture."""

import os
import shutil
import subprocess
import unittest

from cases import REGULAR, SMALL, TITLE, VIEWER_PREFIX, Viewer
from desktop import wait_until
from edition import LinuxBuild, LinuxTestCase, launch_program
from gnome_session import EXTENSION_BUS_NAME, EXTENSION_UUID, INSTALLED_PROGRAM, GnomeSession
from images import Rgb, viewer_picture

VIEWER_PATH = "/example/morvath/skellimor/Viewers"
VIEWER_INTERFACE = "example.morvath.skellimor.Viewers"


def camera_picture(client_offset, size, frame=0):
    """The sample viewer's picture at its frame corner + (26, 44), its client area
    lying at client_offset from that corner."""
    return viewer_picture(26 - client_offset[0], 44 - client_offset[1], *size, frame)


class GnomeTest(LinuxTestCase):
    @classmethod
    def setUpClass(cls):
        cls.build = LinuxBuild.from_environment()
        cls.native_viewer = os.path.join(cls.build.build_dir, "tools", "webcam_viewer_wayland")
        cls.desktop = GnomeSession(cls.build).start()
        print(f"\n[{cls.__name__}] GNOME Shell, XWayland {cls.desktop.display}", flush=True)

    def start_program(self, *, installed=True):
        """The program as installed (in the session's namespace), or from the build."""
        if installed:
            launched = launch_program(self.desktop, INSTALLED_PROGRAM, spawn=self.desktop.spawn_in_namespace)
        else:
            launched = launch_program(self.desktop, self.build.program)
        return self.started(launched, TITLE)

    def start_viewer(self, user_id, at):
        """The X11 viewer, on the shell's XWayland."""
        process = self.desktop.spawn([self.build.viewer, user_id, "--at", str(at[0]), str(at[1])], log="viewer")
        window = wait_until(lambda: self.desktop.x_windows(VIEWER_PREFIX + user_id), 15, what="the X11 viewer")[0]
        wait_until(lambda: (self.desktop.window_picture(window) or Rgb(0, 0, b"")).distinct_colours() > 100, 10,
                   what="the X11 viewer's picture")
        client, _ = self.desktop.geometry(window)
        return self.started(Viewer(process, user_id, self.desktop.frame_corner(window), client[:2]),
                            VIEWER_PREFIX + user_id)

    def start_native_viewer(self, user_id):
        """The native Wayland viewer without a frame: its client area is its frame."""
        process = self.desktop.spawn([self.native_viewer, user_id, "--undecorated"], log="native-viewer")
        wait_until(lambda: any(w["name"] == VIEWER_PREFIX + user_id
                               for w in self.desktop.accessible_windows("webcam_viewer_wayland")),
                   15, what="the native viewer")
        self._started.append(process)
        return process

    def call_extension(self, method, *args, program="gdbus"):
        return self.desktop.gdbus("call", "--session", "--dest", EXTENSION_BUS_NAME, "--object-path", VIEWER_PATH,
                                  "--method", f"{VIEWER_INTERFACE}.{method}", *args, program=program)

    def assertAdvice(self, program, *phrases):
        box = program.wait_dialog()
        for phrase in phrases:
            self.assertIn(phrase, box.message)
        program.close_message(box)

    # --- exact pictures --------------------------------------------------

    def test_native_wayland_viewer_regular_and_small(self):
        self.start_native_viewer("native")
        program = self.start_program()
        program.new_cam("native")
        files = self.snapshot(program, 1)
        self.assertSamePicture(self.read_saved(files[0]), camera_picture((0, 0), REGULAR), files[0])
        program.click(program.layout.small_size)
        self.desktop.park_pointer()
        files = self.snapshot(program, 2)
        self.assertSamePicture(self.read_saved(files[1]), camera_picture((0, 0), SMALL), files[1])

    def test_x11_viewer_through_the_extension(self):
        viewer = self.start_viewer("xviewer", (40, 30))
        program = self.start_program()
        program.new_cam("xviewer")
        files = self.snapshot(program, 1)
        client_offset = (viewer.client_corner[0] - viewer.corner[0], viewer.client_corner[1] - viewer.corner[1])
        self.assertSamePicture(self.read_saved(files[0]), camera_picture(client_offset, REGULAR), files[0])

    def test_window_over_the_camera(self):
        viewer = self.start_viewer("covered", (40, 30))
        program = self.start_program()
        program.new_cam("covered")
        camera = viewer.camera_origin()
        self.desktop.xdotool("windowmove", "--sync", str(program.window), str(camera[0] + 20), str(camera[1] + 20))
        program.wait_restored()
        place = program.client()
        files = self.snapshot(program, 1)
        client_offset = (viewer.client_corner[0] - viewer.corner[0], viewer.client_corner[1] - viewer.corner[1])
        self.assertSamePicture(self.read_saved(files[0]), camera_picture(client_offset, REGULAR), files[0])
        self.assertEqual(program.client(), place, "the window is not back in its place")

    # --- refusals -----------------------------------------------------------

    def test_another_executable_is_refused(self):
        reply = self.call_extension("FindWindow", VIEWER_PREFIX + "native")
        self.assertIn("org.freedesktop.DBus.Error.AccessDenied", reply.stderr)
        self.assertIn("the caller is /usr/bin/gdbus", reply.stderr)

        # The program itself, run from its build folder: the advice names the
        # refusal, and nothing is saved.
        self.start_native_viewer("elsewhere")
        program = self.start_program(installed=False)
        program.new_cam("elsewhere")
        program.click(program.layout.middle("Picture1"))
        self.assertAdvice(program, "refused", INSTALLED_PROGRAM)
        self.assertEqual(program.id_label(), "Not Found")
        self.assertEqual(self.saved_files(), [])

    def stand_in_call(self, title, *, in_the_shells_namespace):
        """FindWindow from a stand-in that can make any call, run at the program's
        path: bound over it where the shell looks (as if installed there), or laid
        over /usr/bin in a mount namespace of its own, which the shell does not see."""
        stand_in = os.path.join(self.desktop.root, "stand-in")
        os.makedirs(stand_in, exist_ok=True)
        shutil.copy2(shutil.which("gdbus"), os.path.join(stand_in, "morvaths-skellimor"))
        call = (f"{INSTALLED_PROGRAM} call --session --dest {EXTENSION_BUS_NAME} --object-path {VIEWER_PATH} "
                f"--method {VIEWER_INTERFACE}.FindWindow \"$1\"")
        if in_the_shells_namespace:
            script = (f"mount --bind {stand_in}/morvaths-skellimor {INSTALLED_PROGRAM} || exit 9; {call}; "
                      f"status=$?; umount {INSTALLED_PROGRAM}; exit $status")
            argv = ["nsenter", f"--target={self.desktop.namespace.pid}", "--mount", "--"]
        else:
            script = f"mount -t overlay overlay -o 'lowerdir={stand_in}:/usr/bin' /usr/bin && {call}"
            argv = ["unshare", "--mount", "--propagation", "private"]
        return subprocess.run([*argv, "sh", "-c", script, "stand-in", title], env=self.desktop.env(),
                              capture_output=True, text=True, timeout=30)

    def test_a_window_outside_the_viewers_is_refused(self):
        refused = self.stand_in_call("Terminal", in_the_shells_namespace=True)
        self.assertIn("org.freedesktop.DBus.Error.AccessDenied", refused.stderr)
        self.assertIn("Only windows titled", refused.stderr)
        # The same caller asking about a viewer is answered.
        answered = self.stand_in_call(VIEWER_PREFIX + "nobody", in_the_shells_namespace=True)
        self.assertEqual(answered.returncode, 0, answered.stderr)
        self.assertIn("(uint64 0,", answered.stdout)

    def test_another_file_at_the_programs_path_is_refused(self):
        # What a mount namespace of the caller's own shows at the path is not the
        # installed program.
        reply = self.stand_in_call(VIEWER_PREFIX + "nobody", in_the_shells_namespace=False)
        self.assertIn("org.freedesktop.DBus.Error.AccessDenied", reply.stderr)
        self.assertIn(f"Only {INSTALLED_PROGRAM} may ask this", reply.stderr)

    # --- the extension disabled ---------------------------------------------

    def test_extension_disabled_says_how_to_enable_it(self):
        self.desktop.set_extension_enabled(False)
        self.addCleanup(self.desktop.set_extension_enabled, True)
        # Nothing of it stays on the bus: neither its name nor its object.
        reply = self.desktop.gdbus("call", "--session", "--dest", "org.gnome.Shell", "--object-path", VIEWER_PATH,
                                   "--method", f"{VIEWER_INTERFACE}.FindWindow", VIEWER_PREFIX + "x")
        self.assertIn("org.freedesktop.DBus.Error.Unknown", reply.stderr)

        self.start_native_viewer("off")
        program = self.start_program()
        program.new_cam("off")
        program.click(program.layout.middle("Picture1"))
        self.assertAdvice(program, f"gnome-extensions enable {EXTENSION_UUID}", "logging in again")
        self.assertEqual(program.id_label(), "Not Found")
        self.assertEqual(self.saved_files(), [])

        # X11 viewers are still copied, from their own windows on XWayland.
        viewer = self.start_viewer("x11 still", (40, 30))
        program.new_cam("x11 still")
        files = self.snapshot(program, 1)
        client_offset = (viewer.client_corner[0] - viewer.corner[0], viewer.client_corner[1] - viewer.corner[1])
        self.assertSamePicture(self.read_saved(files[0]), camera_picture(client_offset, REGULAR), files[0])


if __name__ == "__main__":
    unittest.main()
