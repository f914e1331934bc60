#!/usr/bin/env bash
# Installs the Debian packages Ventacalc builds, runs and tests with, once:
# when every package is already installed nothing is done. clang-14 and its
# runtimes build the fuzz targets (scripts/fuzz.sh); qpdf checks the structure
# of the PDF files the tests print (pdftotext quietly rebuilds a broken one);
# the last line is what the install and package test checks the installed
# files and the .deb with.
set -euo pipefail

packages=(build-essential cmake qt6-base-dev libqt6sql6-sqlite libsqlite3-dev
          libxlsxwriter-dev zlib1g-dev pkgconf libgtest-dev libgmock-dev libbenchmark-dev
          fonts-noto-cjk poppler-utils qpdf python3-openpyxl xvfb xauth qt6-translations-l10n
          clang-14 libclang-rt-14-dev
          desktop-file-utils appstream man-db dpkg-dev file)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
