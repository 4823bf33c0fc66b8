#!/usr/bin/env bash
# Builds the .deb from a finished build and checks what it holds, what it
# depends on, and that its files work as installed. Needs no root.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work" >/dev/null)
deb=$(ls "$work"/tabulift_*.deb)

fail() { echo "FAIL: $*" >&2; exit 1; }

contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/tabulift ./usr/bin/tabulift-cli \
            ./usr/share/applications/tabulift.desktop \
            ./usr/share/icons/hicolor/16x16/apps/tabulift.png \
            ./usr/share/icons/hicolor/256x256/apps/tabulift.png \
            ./usr/share/man/man1/tabulift-cli.1.gz; do
  grep -q " $path\$" <<<"$contents" || fail "$path is not in the package"
done

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libmdb3 libmdbsql3 fonts-liberation2; do
  grep -q "\b$package\b" <<<"$depends" || fail "the package does not depend on $package: $depends"
done

root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/tabulift.desktop" ||
  fail "the desktop entry does not validate"
"$root/usr/bin/tabulift-cli" --help | grep -q "tabulift-cli convert" ||
  fail "the installed tabulift-cli does not explain itself"
MANWIDTH=80 man -l "$root/usr/share/man/man1/tabulift-cli.1.gz" 2>/dev/null | grep -q "EXIT-STATUS" ||
  fail "the manual page does not render"
echo "package $(basename "$deb"): contents, dependencies, desktop entry, manual page fine"
