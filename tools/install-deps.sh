#!/usr/bin/env bash
# Installs, from Debian packages only, what building and testing need.
# Idempotent: packages already present are left alone. Runs as root or through sudo.
set -euo pipefail

packages=(
  cmake ninja-build g++ libgtest-dev googletest
  g++-mingw-w64-i686-win32 binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64
  wine wine32:i386 wine64
  xvfb openbox xdotool x11-utils x11-apps x11-xserver-utils xclip imagemagick
  fonts-liberation
  maim scrot inotify-tools
  python3
  # The Linux/X11 edition: Qt 6 Widgets, xcb, the fuzzer's clang, the package tools.
  qt6-base-dev libxcb1-dev libxcb-shm0-dev pkg-config
  clang libclang-rt-14-dev dpkg-dev
  # The package's checks as Debian and desktops run them.
  lintian desktop-file-utils appstream
  # Its benchmark counts what the process holds on the X server (X-Resource).
  libxcb-res0-dev
  # Xlib's converters read the window titles that X toolkit programs write in compound text;
  # the tests run them in a locale made with the C library's locale sources, and
  # against a real X toolkit program's window (xmessage, in x11-utils).
  libx11-dev locales
  # Its end-to-end tests read the window through the accessibility bus, and run
  # under the window managers and compositors people use.
  dbus at-spi2-core python3-pyatspi
  xfwm4 mutter i3-wm twm compton
  # Wayland sessions: the compositors its tests start (KWin, sway, weston) with
  # XWayland, Qt's Wayland platform for the native sample viewer, the Wayland
  # client library and its protocol compiler, and grim to compare with.
  kwin-wayland kwin-style-breeze sway weston xwayland qt6-wayland libwayland-dev libwayland-bin grim
  # GNOME on Wayland: the shell its tests start headless, and gjs, which checks
  # and tests the program's GNOME Shell extension outside it.
  gnome-shell gjs
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
# A mirror caught mid-sync fails one index or another for a while: tried again,
# then the lists at hand serve, and the install says what is truly missing.
for attempt in 1 2 3; do
  "${sudo_cmd[@]}" apt-get update -q && break
  echo "apt-get update failed (attempt $attempt of 3)" >&2
  [ "$attempt" -lt 3 ] && sleep 15
done
if ! "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"; then
  # 32-bit packages must match their 64-bit twins' versions exactly, which a
  # mirror missing the i386 lists of an update cannot give. Without 32-bit Wine
  # the tests run the 64-bit build of the same sources (tools/test.sh).
  others=()
  for p in "${missing[@]}"; do [[ $p == *:i386 ]] || others+=("$p"); done
  echo "Installing without the 32-bit packages: 32-bit Wine will be missing" >&2
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${others[@]}"
fi
