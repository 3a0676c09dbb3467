#!/usr/bin/env python3
"""Runs the snapshot benchmark (snapshot_bench, tools/bench/SnapshotBench.h) on a
private desktop: an Xvfb display with openbox and the sample viewer at (20, 20).
The Linux edition runs natively; the Windows program in a fresh Wine prefix.

    bench.py (--linux-build DIR | --win-build DIR --wine WINE) [--shots N]
             [--case plain|overlap|small]... [--soak]

Without --case it runs the two cases "plain" (the program's window away from the
camera rectangle) and "overlap" (the window over it) and prints their tables.
--soak runs the soak instead: 2,000 shots (or --shots) with the two sizes mixed
and the viewer's picture changing between shots."""

import argparse
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from desktop import OPENBOX, Build, DesktopError, WineDesktop, XDesktop, wait_until  # noqa: E402

VIEWER_ID = "bench"
VIEWER_AT = (20, 20)
CASES = {"plain": [], "overlap": ["--overlap"], "small": ["--small"]}


def x_windows(desktop, title):
    """The X client windows whose name is exactly the title."""
    found = subprocess.run(["xdotool", "search", "--name", "^" + re.escape(title) + "$"], env=desktop.env(),
                           capture_output=True, text=True, timeout=30).stdout.split()
    return [int(window) for window in found]


class LinuxEdition:
    """The Linux edition: the program, the sample viewer and the benchmark, native."""

    name = "Linux edition"

    def __init__(self, build_dir):
        self.build_dir = build_dir
        self.program = os.path.join(build_dir, "window", "morvaths-skellimor")
        self.viewer = os.path.join(build_dir, "tools", "webcam_viewer")
        self.bench = os.path.join(build_dir, "tools", "snapshot_bench")

    def desktop(self, window_manager=OPENBOX):
        return XDesktop(window_manager=window_manager)

    def run(self, desktop, program, *args, log=None):
        return desktop.spawn([program, *args], log=log)

    def command(self, program):
        return [program]

    def window_shown(self, desktop, title):
        # Once the window manager lists it: snapshot_bench finds windows in that list,
        # and openbox was seen to list a new window seconds after framing it.
        listed = subprocess.run(["xprop", "-root", "_NET_CLIENT_LIST"], env=desktop.env(), capture_output=True,
                                text=True, timeout=30).stdout
        managed = {int(window, 16) for window in re.findall(r"0x[0-9a-fA-F]+", listed)}
        return [window for window in x_windows(desktop, title) if window in managed]


class WindowsEdition:
    """The Windows program under Wine, with its sample viewer and benchmark."""

    name = "Windows program under Wine"

    def __init__(self, win_build, wine):
        self.build = Build(win_build, wine)
        self.program = self.build.exe
        self.viewer = self.build.viewer
        self.bench = os.path.join(win_build, "tools", "snapshot_bench.exe")

    def desktop(self, window_manager=OPENBOX):
        return WineDesktop(self.build, window_manager=window_manager)

    def run(self, desktop, program, *args, log=None):
        return desktop.run_windows(program, *args, log=log)

    def command(self, program):
        return [self.build.wine, program]

    def window_shown(self, desktop, title):
        return desktop.window(title)


def editions_from(options):
    """The editions named on the command line, Linux first."""
    editions = []
    if options.linux_build:
        editions.append(LinuxEdition(os.path.abspath(options.linux_build)))
    if options.win_build:
        if not options.wine:
            raise SystemExit("--win-build needs --wine")
        editions.append(WindowsEdition(os.path.abspath(options.win_build), options.wine))
    if not editions:
        raise SystemExit("name a build: --linux-build DIR, or --win-build DIR --wine WINE")
    return editions


def add_build_arguments(parser):
    parser.add_argument("--linux-build", help="the linux preset's build directory")
    parser.add_argument("--win-build", help="the win32 or win64 preset's build directory")
    parser.add_argument("--wine", help="the Wine loader that runs the Windows build")


def start_viewer(edition, desktop):
    """The viewer's process, showing frame 0 at VIEWER_AT. Openbox, asked to map a
    window in its first moments, was seen never to do so: the viewer is started
    again where it does not show."""
    timeouts = (5, 20, 60)
    for timeout in timeouts:
        process = edition.run(desktop, edition.viewer, VIEWER_ID, "--at", str(VIEWER_AT[0]), str(VIEWER_AT[1]),
                              log="viewer")
        try:
            wait_until(lambda: edition.window_shown(desktop, "Webcam for " + VIEWER_ID), timeout, interval=0.2,
                       what="the viewer")
        except DesktopError:
            desktop.stop_process(process)
            if timeout == timeouts[-1]:
                raise
            continue
        time.sleep(0.5)  # its first paint
        return process


def start_desktop(edition):
    """A started desktop with the viewer."""
    desktop = edition.desktop().start()
    try:
        start_viewer(edition, desktop)
    except BaseException:
        desktop.close()
        raise
    return desktop


def run_bench(edition, desktop, *args, timeout=3600):
    """Runs snapshot_bench with these arguments; its exit code and output."""
    out_path = os.path.join(desktop.root, "bench-output.txt")
    with open(out_path, "wb") as out:
        # Output through a file: Wine's helper processes would hold a pipe open.
        code = subprocess.run([*edition.command(edition.bench), VIEWER_ID, *args], env=desktop.env(), stdout=out,
                              stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, timeout=timeout).returncode
    with open(out_path, "rb") as f:
        return code, f.read().decode("utf-8", "replace")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    add_build_arguments(parser)
    parser.add_argument("--shots", type=int)
    parser.add_argument("--case", action="append", choices=sorted(CASES))
    parser.add_argument("--soak", action="store_true")
    options = parser.parse_args()

    status = 0
    for edition in editions_from(options):
        desktop = start_desktop(edition)
        try:
            print(f"{edition.name}: {edition.bench}, display {desktop.display}, "
                  f"viewer \"Webcam for {VIEWER_ID}\" at {VIEWER_AT}")
            runs = [("soak", ["--soak", "--shots", str(options.shots or 2000)])] if options.soak else [
                (case, CASES[case] + (["--shots", str(options.shots)] if options.shots else []))
                for case in (options.case or ["plain", "overlap"])]
            for name, args in runs:
                print(f"\n== {name}: snapshot_bench {' '.join(args)}", flush=True)
                started = time.monotonic()
                code, output = run_bench(edition, desktop, *args)
                print(output.rstrip())
                print(f"(exit code {code}, {time.monotonic() - started:.0f} s)", flush=True)
                status = status or code
        finally:
            desktop.close()
    return status


if __name__ == "__main__":
    sys.exit(main())
