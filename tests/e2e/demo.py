"""One snapshot of the sample viewer "demo" with the real program on a private
virtual desktop, driven through the program's window as a user would: New Cam,
the ID, the smiley. Copies the saved picture and a screenshot to OUT_DIR.

    python3 demo.py OUT_DIR   (with SKELLIMOR_WIN_BUILD and SKELLIMOR_WINE set)"""

import os
import shutil
import sys

from desktop import Build, WineDesktop, wait_until
from skellimor import SMILEY, TITLE, DIALOG_CLASS, NEW_CAM


def main(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    build = Build.from_environment()
    desktop = WineDesktop(build).start()
    try:
        desktop.run_windows(build.viewer, "demo", "--at", "20", "20", log="viewer")
        desktop.window("Webcam for demo", wait_ms=15000)
        desktop.run_windows(build.exe, log="program")

        def main_window():
            windows = desktop.probe("list", TITLE)["windows"]
            return next((w for w in windows if w["class"] != DIALOG_CLASS and w["visible"]), None)

        window = wait_until(main_window, 20, what="the program's window")
        left, top = window["client"][:2]
        desktop.click(left + NEW_CAM[0], top + NEW_CAM[1])
        desktop.window(TITLE, DIALOG_CLASS, wait_ms=15000)
        desktop.type_text("demo")
        desktop.key("Return")
        desktop.window_gone(TITLE, DIALOG_CLASS, wait_ms=15000)
        desktop.click(left + SMILEY[0], top + SMILEY[1])
        saved = wait_until(lambda: os.listdir(desktop.desktop_dir), 15, what="the saved picture")
        wait_until(lambda: not desktop.window(TITLE, window["class"])["iconic"], 15, what="the restore")
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
