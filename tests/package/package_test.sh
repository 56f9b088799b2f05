#!/usr/bin/env bash
# Checks the Debian packages that tools/package built: lintian, the command-line
# package free of Qt, the menu entry and the software centre's entry valid; then
# unpacks both into a throwaway root, makes an album of the sample photographs
# with the unpacked folivant-cli and opens it in the unpacked application on
# the offscreen platform.
# Usage: package_test.sh PACKAGES_DIR SAMPLE_PHOTOS_PROGRAM
set -euo pipefail
packages=$(cd "$1" && pwd)
sample_photos=$2

fail() { echo "package test: $*" >&2; exit 1; }
one() { # the one file matching a pattern
  local matches=("$packages"/$1)
  [ ${#matches[@]} -eq 1 ] && [ -f "${matches[0]}" ] || fail "no single package $1 in $packages"
  echo "${matches[0]}"
}
cli_deb=$(one 'folivant-cli_*.deb')
app_deb=$(one 'folivant_*.deb')

echo "== lintian"
lintian --fail-on error,warning --info "$packages"/*.changes || fail "lintian reports errors or warnings"

for deb in "$cli_deb" "$app_deb"; do
  echo "$(basename "$deb"): $(stat -c %s "$deb") bytes; Depends: $(dpkg-deb -f "$deb" Depends)"
done
dpkg-deb -f "$cli_deb" Depends | grep -qi qt && fail "folivant-cli depends on Qt"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
dpkg -x "$cli_deb" "$root"
dpkg -x "$app_deb" "$root"
# The command-line program alone, neither Qt nor the application's files.
dpkg-deb -c "$cli_deb" | grep -qE '\./usr/(bin/folivant$|share/folivant/)' && fail "folivant-cli holds the application's files"
dpkg-deb -c "$app_deb" | grep -q '\./usr/bin/folivant-cli$' && fail "folivant holds folivant-cli"
ldd "$root/usr/bin/folivant-cli" | grep -i qt && fail "folivant-cli loads Qt"
version=$("$root/usr/bin/folivant-cli" --version) || fail "folivant-cli --version failed"
[ "$version" = "folivant-cli $(dpkg-deb -f "$cli_deb" Version)" ] || fail "folivant-cli --version says: $version"

echo "== desktop-file-validate, appstreamcli validate"
desktop=$root/usr/share/applications/org.example.folivant.desktop
metainfo=$root/usr/share/metainfo/org.example.folivant.metainfo.xml
desktop-file-validate "$desktop" || fail "the menu entry is not valid"
appstreamcli validate --no-net "$metainfo" || fail "the AppStream entry is not valid"
grep -q '<launchable type="desktop-id">org.example.folivant.desktop</launchable>' "$metainfo" ||
  fail "the AppStream entry does not name the menu entry"

# The album, made with the unpacked programs from outside any source tree.
"$sample_photos" "$work/photos"
photos=$(find "$work/photos" -name '*.jpg' | wc -l)
[ "$photos" -gt 0 ] || fail "no sample photographs"
cd "$work"
export FOLIVANT_CONFIG_DIR=$work/config
"$root/usr/bin/folivant-cli" create album.alb --from-folder photos --title "Packaged" >/dev/null
"$root/usr/bin/folivant-cli" generate album.alb --output "$work/web" >/dev/null 2>&1 || fail "generate failed"
thumbnails=$(find web -name '*_small.jpg' | wc -l)
[ -s web/index.html ] && [ "$thumbnails" -eq "$photos" ] || fail "$thumbnails thumbnails for $photos photographs"

# The application opens the album and ends by itself (FOLIVANT_QUIT_AFTER_START);
# under strace, where tracing is allowed, it must read its tips from the unpacked
# share/folivant/ and nothing beside its program file.
traced=()
strace -qq -o /dev/null true 2>/dev/null && traced=(strace -f -qq -e trace=%file -o "$work/gui.trace")
opened=$(QT_QPA_PLATFORM=offscreen FOLIVANT_QUIT_AFTER_START=1 timeout 120 \
  "${traced[@]}" "$root/usr/bin/folivant" "$work/album.alb") || fail "the application failed or hung"
[ "$opened" = "$work/album.alb: $photos photographs" ] || fail "the application opened: $opened"
if [ ${#traced[@]} -gt 0 ]; then
  grep -qE "\"$root/usr/bin/\.\./share/folivant/tips\.ini\", O_RDONLY.* = [0-9]+$" "$work/gui.trace" ||
    fail "the application did not read the packaged tips.ini"
  beside=$(grep -E "\"$root/usr/bin/[^\"/]+\.(ini|chm)\"" "$work/gui.trace" || true)
  [ -z "$beside" ] || fail "the application looked beside its program file: $beside"
fi
echo "packages unpacked and run: folivant-cli generated $photos photographs, folivant opened them"
