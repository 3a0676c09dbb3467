#!/usr/bin/env python3
"""Runs the snapshot benchmark (snapshot_bench.exe) on a private desktop: an Xvfb
display with openbox, a fresh Wine prefix and the sample viewer at (20, 20).

    bench.py WIN_BUILD WINE [--shots N] [--case plain|overlap|small]... [--soak]

Without --case it runs the two cases "plain" (the program's window away from the
camera rectangle) and "overlap" (the window over it) and prints their tables.
--soak runs the soak instead: 2,000 shots (or --shots) with the two sizes mixed
and the viewer's picture changing between shots."""

import argparse
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from desktop import Build, WineDesktop, wait_until  # noqa: E402

VIEWER_ID = "bench"
VIEWER_AT = (20, 20)
CASES = {"plain": [], "overlap": ["--overlap"], "small": ["--small"]}


def start_desktop(win_build, wine):
    """A started desktop with the viewer showing frame 0 at VIEWER_AT."""
    build = Build(win_build, wine)
    desktop = WineDesktop(build).start()
    try:
        desktop.run_windows(build.viewer, VIEWER_ID, "--at", str(VIEWER_AT[0]), str(VIEWER_AT[1]), log="viewer")
        wait_until(lambda: desktop.window("Webcam for " + VIEWER_ID), 60, interval=0.2, what="the viewer")
        time.sleep(0.5)  # its first paint
    except BaseException:
        desktop.close()
        raise
    return desktop


def run_bench(desktop, *args, timeout=3600):
    """Runs snapshot_bench.exe with these arguments; its exit code and output."""
    bench = os.path.join(desktop.build.win_build, "tools", "snapshot_bench.exe")
    out_path = os.path.join(desktop.root, "bench-output.txt")
    with open(out_path, "wb") as out:
        # Output through a file: Wine's helper processes would hold a pipe open.
        code = subprocess.run([desktop.build.wine, bench, VIEWER_ID, *args], env=desktop.env(), stdout=out,
                              stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, timeout=timeout).returncode
    with open(out_path, "rb") as f:
        return code, f.read().decode("utf-8", "replace")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("win_build")
    parser.add_argument("wine")
    parser.add_argument("--shots", type=int)
    parser.add_argument("--case", action="append", choices=sorted(CASES))
    parser.add_argument("--soak", action="store_true")
    options = parser.parse_args()

    desktop = start_desktop(options.win_build, options.wine)
    status = 0
    try:
        print(f"Wine {desktop.build.arch} build {options.win_build}, display {desktop.display}, "
              f"viewer \"Webcam for {VIEWER_ID}\" at {VIEWER_AT}")
        runs = [("soak", ["--soak", "--shots", str(options.shots or 2000)])] if options.soak else [
            (case, CASES[case] + (["--shots", str(options.shots)] if options.shots else []))
            for case in (options.case or ["plain", "overlap"])]
        for name, args in runs:
            print(f"\n== {name}: snapshot_bench {' '.join(args)}", flush=True)
            started = time.monotonic()
            code, output = run_bench(desktop, *args)
            print(output.rstrip())
            print(f"(exit code {code}, {time.monotonic() - started:.0f} s)", flush=True)
            status = status or code
    finally:
        desktop.close()
    return status


if __name__ == "__main__":
    sys.exit(main())
