#!/usr/bin/env bash
# The Debian package of a build (`cpack -G DEB`): lintian finds no error and no warning in it, and it
# holds the program, stripped, which tells its version and its usage, the manual page, which man
# reads without a warning, the copyright and the changelog.
#   tests/package/check.sh BUILD-FOLDER
set -euo pipefail
build=$(realpath "${1:-build}")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" > "$out/cpack.log") || { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$out"/quirra_*.deb)
lintian --fail-on error,warning "$deb"
dpkg-deb -x "$deb" "$out/root"
for file in usr/bin/quirra usr/share/man/man1/quirra.1.gz usr/share/doc/quirra/copyright \
            usr/share/doc/quirra/changelog.gz; do
  [ -f "$out/root/$file" ] || { echo "missing from the package: $file" >&2; exit 1; }
done
"$out/root/usr/bin/quirra" --version
"$out/root/usr/bin/quirra" --help > /dev/null
man --warnings -l "$out/root/usr/share/man/man1/quirra.1.gz" > /dev/null 2> "$out/man.log"
[ ! -s "$out/man.log" ] || { cat "$out/man.log" >&2; exit 1; }
echo "package $(basename "$deb"): lintian clean, manual page, --version and --help"
