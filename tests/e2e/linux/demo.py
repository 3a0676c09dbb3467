"""One snapshot of the sample viewer "demo" with the Linux edition on a private
virtual desktop, driven through the program's window as a user would: New Cam,
the ID, the smiley. Copies the saved picture and a screenshot to OUT_DIR.

    python3 demo.py OUT_DIR   (with SKELLIMOR_LINUX_BUILD set and tests/e2e on PYTHONPATH)"""

import os
import shutil
import sys

from desktop import wait_until
from edition import TITLE, LinuxBuild, LinuxDesktop, LinuxProgram


def main(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    build = LinuxBuild.from_environment()
    desktop = LinuxDesktop().start()
    try:
        desktop.spawn([build.viewer, "demo", "--at", "20", "20"], log="viewer")
        wait_until(lambda: desktop.x_windows("Webcam for demo"), 15, what="the sample viewer")
        process = desktop.spawn([build.program], log="program")
        window = wait_until(lambda: desktop.x_windows(TITLE), 20, what="the program's window")[0]
        program = LinuxProgram(desktop, process, window)
        wait_until(program.main_node, 10, what="the program's window")
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
