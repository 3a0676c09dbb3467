#!/usr/bin/env bash
# Builds the Debian package of the Linux edition from the built program:
#   make_deb.sh OUT_DIR VERSION PROGRAM ICON_ICO SOURCE_DIR
# The library dependencies are those dpkg-shlibdeps finds for the program.
set -euo pipefail
out=$1 version=$2 program=$3 icon=$4 here=$5

architecture=$(dpkg --print-architecture)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
root=$stage/root
install -D -m 0755 "$program" "$root/usr/bin/morvaths-skellimor"
strip --strip-unneeded "$root/usr/bin/morvaths-skellimor"
install -D -m 0644 "$here/morvaths-skellimor.desktop" "$root/usr/share/applications/morvaths-skellimor.desktop"
install -d "$root/usr/share/icons/hicolor/32x32/apps"
# The window icon as PNG, without the time stamps that would make every build differ.
convert "ico:$icon" -define png:exclude-chunks=date,time -strip \
  "png32:$root/usr/share/icons/hicolor/32x32/apps/morvaths-skellimor.png"

# dpkg-shlibdeps reads the package names from a source tree's debian/control.
mkdir -p "$stage/debian"
printf 'Source: morvaths-skellimor\n\nPackage: morvaths-skellimor\nArchitecture: any\n' > "$stage/debian/control"
depends=$(cd "$stage" && dpkg-shlibdeps -O -e "$root/usr/bin/morvaths-skellimor" 2>/dev/null |
          sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "make_deb.sh: no library dependencies found" >&2; exit 1; }

installed_size=$(du -sk --apparent-size "$root" | cut -f1)
install -d "$root/DEBIAN"
sed -e "s|@VERSION@|$version|" -e "s|@ARCHITECTURE@|$architecture|" -e "s|@DEPENDS@|$depends|" \
    -e "s|@INSTALLED_SIZE@|$installed_size|" "$here/control.in" > "$root/DEBIAN/control"
find "$root" -type d -exec chmod 0755 {} +
deb=$out/morvaths-skellimor_${version}_${architecture}.deb
SOURCE_DATE_EPOCH=1767225600 dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb"
