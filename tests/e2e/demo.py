"""One snapshot of the sample viewer "demo" with the real program on a private
virtual desktop, driven through the program's window as a user would: New Cam,
the ID, the smiley. Copies the saved picture and a screenshot to OUT_DIR.

    python3 demo.py OUT_DIR

The Linux edition when SKELLIMOR_LINUX_BUILD names its build (with tests/e2e and
tests/e2e/linux on PYTHONPATH), else the Windows program under Wine
(SKELLIMOR_WIN_BUILD and SKELLIMOR_WINE)."""

import os
import shutil
import sys

from desktop import wait_until


def start_edition():
    """The desktop, and the calls that start the viewer and the program on it."""
    if os.environ.get("SKELLIMOR_LINUX_BUILD"):
        from edition import LinuxBuild, LinuxDesktop, launch_program, launch_viewer
        build = LinuxBuild.from_environment()
        desktop = LinuxDesktop().start()
        return (desktop, lambda: launch_viewer(desktop, build, "demo", (20, 20)),
                lambda: launch_program(desktop, build.program))
    from desktop import Build, WineDesktop
    from skellimor import launch_program, launch_viewer
    desktop = WineDesktop(Build.from_environment()).start()
    return desktop, lambda: launch_viewer(desktop, "demo", (20, 20)), lambda: launch_program(desktop)


def main(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    desktop, start_viewer, start_program = start_edition()
    try:
        start_viewer()
        program = start_program()
        program.new_cam("demo")
        program.click(program.layout.middle("Picture1"))
        saved = wait_until(lambda: os.listdir(desktop.desktop_dir), 15, what="the saved picture")
        program.wait_restored()
        desktop.park_pointer()

        picture = os.path.join(out_dir, saved[0])
        shutil.copyfile(os.path.join(desktop.desktop_dir, saved[0]), picture)
        screenshot = os.path.join(out_dir, "screen.png")
        desktop.save_png(desktop.screenshot(), screenshot)
        print(f"Saved picture: {picture}")
        print(f"Screenshot:    {screenshot}")
    finally:
        desktop.close()


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
