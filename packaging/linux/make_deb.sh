#!/usr/bin/env bash
# Builds the Debian package of the Linux edition from the built program:
#   make_deb.sh OUT_DIR VERSION PROGRAM MAKE_ICONS SOURCE_DIR
# The program is stripped; the library dependencies are those dpkg-shlibdeps
# finds for it; the icons are the window icon at the theme's sizes, as the
# picture generator MAKE_ICONS draws it.
set -euo pipefail
out=$1 version=$2 program=$3 make_icons=$4 here=$5
name=morvaths-skellimor

architecture=$(dpkg --print-architecture)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
root=$stage/root
install -D -m 0755 "$program" "$root/usr/bin/$name"
strip --remove-section=.comment --remove-section=.note --strip-unneeded "$root/usr/bin/$name"
install -D -m 0644 "$here/$name.desktop" "$root/usr/share/applications/$name.desktop"
install -D -m 0644 "$here/example.morvath.skellimor.metainfo.xml" \
  "$root/usr/share/metainfo/example.morvath.skellimor.metainfo.xml"
# The GNOME Shell extension through which the program finds viewers in GNOME on
# Wayland; it answers the program installed here alone.
extension=$root/usr/share/gnome-shell/extensions/skellimor@morvath.example
for file in metadata.json extension.js access.js; do
  install -D -m 0644 "$here/gnome-shell-extension/$file" "$extension/$file"
done

# Icons: PNG without the time stamps that would make every build differ.
"$make_icons" "$stage"
for bmp in "$stage"/*.bmp; do
  size=$(basename "$bmp" .bmp)
  install -d "$root/usr/share/icons/hicolor/${size}x${size}/apps"
  convert "bmp:$bmp" -define png:exclude-chunks=date,time -strip \
    "png24:$root/usr/share/icons/hicolor/${size}x${size}/apps/$name.png"
done

# The manual page and the changelog, compressed as Debian wants them: the most,
# without the file's name or time in the gzip header.
install -D -m 0644 "$here/$name.1" "$root/usr/share/man/man1/$name.1"
gzip -9n "$root/usr/share/man/man1/$name.1"
doc=$root/usr/share/doc/$name
# The copyright file holds the licence's text (LICENSE at the sources' root).
install -D -m 0644 "$here/copyright" "$doc/copyright"
sed -e "s|@VERSION@|$version|" "$here/changelog" > "$doc/changelog.Debian"
gzip -9n "$doc/changelog.Debian"
install -D -m 0644 "$here/lintian-overrides" "$root/usr/share/lintian/overrides/$name"

# dpkg-shlibdeps reads the package names from a source tree's debian/control.
mkdir -p "$stage/debian"
printf 'Source: %s\n\nPackage: %s\nArchitecture: any\n' "$name" "$name" > "$stage/debian/control"
depends=$(cd "$stage" && dpkg-shlibdeps -O -e "$root/usr/bin/$name" 2>/dev/null |
          sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "make_deb.sh: no library dependencies found" >&2; exit 1; }

installed_size=$(du -sk --apparent-size "$root" | cut -f1)
install -d "$root/DEBIAN"
sed -e "s|@VERSION@|$version|" -e "s|@ARCHITECTURE@|$architecture|" -e "s|@DEPENDS@|$depends|" \
    -e "s|@INSTALLED_SIZE@|$installed_size|" "$here/control.in" > "$root/DEBIAN/control"
(cd "$root" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum > DEBIAN/md5sums)
find "$root" -type d -exec chmod 0755 {} +
find "$root" -type f -exec touch -h -d @1767225600 {} +
deb=$out/${name}_${version}_${architecture}.deb
SOURCE_DATE_EPOCH=1767225600 dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb"
