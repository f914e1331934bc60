#!/usr/bin/env bash
# Installs the Debian packages Ventacalc needs, once: when every package of the
# level asked for is already installed nothing is done. Each level adds to the
# one before it:
#   run    building and running the program (scripts/run.sh): the compiler,
#          CMake, Qt, SQLite, libxlsxwriter, the CJK fonts the windows are drawn
#          with and Qt's Chinese translations of its own dialogs;
#   test   the test suites and the package (scripts/test.sh, scripts/build.sh
#          with no targets): GoogleTest and gmock, the benchmark library,
#          poppler-utils and qpdf for the printed PDFs, openpyxl for the
#          workbooks, and what the install and package test checks the
#          installed files and the .deb with;
#   fuzz   clang-14 and its runtimes for the libFuzzer targets (scripts/fuzz.sh).
# and, apart, the Windows program's:
#   windows       cross-building it (scripts/build-windows.sh): MinGW-w64, the
#                 host Qt's tools, what Qt's, SQLite's and GoogleTest's builds
#                 use, NSIS and Qt's translations;
#   windows-test  testing it under wine (scripts/test-windows.sh), with the
#                 test level for the Linux build it is compared with.
#   bash scripts/install-deps.sh [run|test|fuzz|windows|windows-test]   test by default
# Without root, apt-get runs through sudo; without sudo, the missing packages
# and the command that installs them are printed and the script fails.
set -euo pipefail

run=(build-essential cmake pkgconf qt6-base-dev libsqlite3-dev libxlsxwriter-dev zlib1g-dev
     fonts-noto-cjk qt6-translations-l10n)
test=(libgtest-dev libgmock-dev libbenchmark-dev poppler-utils qpdf python3-openpyxl
      desktop-file-utils appstream shared-mime-info man-db dpkg-dev file lintian)
fuzz=(clang-14 libclang-rt-14-dev)
windows=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev qt6-base-dev
         qt6-base-dev-tools cmake ninja-build dpkg-dev xz-utils tcl googletest nsis
         qt6-translations-l10n)
windows_test=(wine64 xvfb xauth xdotool xclip imagemagick python3-openpyxl)

case "${1:-test}" in
run) packages=("${run[@]}") ;;
test) packages=("${run[@]}" "${test[@]}") ;;
fuzz) packages=("${run[@]}" "${test[@]}" "${fuzz[@]}") ;;
windows) packages=("${windows[@]}") ;;
windows-test) packages=("${run[@]}" "${test[@]}" "${windows[@]}" "${windows_test[@]}") ;;
*)
    echo "usage: bash scripts/install-deps.sh [run|test|fuzz|windows|windows-test]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

install="apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
tell_root() {
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "Install them as root with:" >&2
    echo "    su -c '$install'" >&2
    exit 1
}

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || tell_root
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
# (sudo asks for the user's password when it needs to; a user who may not use
# it gets the same advice as one without sudo)
"${sudo[@]}" apt-get update || { [ ${#sudo[@]} -eq 0 ] || tell_root; exit 1; }
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}"
