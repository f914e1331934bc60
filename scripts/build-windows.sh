#!/usr/bin/env bash
# Builds the Windows program on Debian 12 with MinGW-w64 and packs it:
#   build-windows/Ventacalc/                   the program's folder (ventacalc.exe,
#                                              ventacalc-cli.exe, every DLL, the Qt
#                                              plugins, qt.conf, Qt's Chinese texts)
#   build-windows/ventacalc-<version>-setup.exe its installer (NSIS)
# The libraries come from scripts/build-windows-deps.sh (built once into a
# cache outside the clone); the program's own build tree is build-windows/build.
#   bash scripts/build-windows.sh [TARGET...]   also builds the targets named
#                                              (scripts/test-windows.sh: core_tests)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/build-windows"
dir="$out/build"

bash "$root/scripts/install-deps.sh" windows

cache="$(bash "$root/scripts/build-windows-deps.sh" | tail -n 1)"
prefix="$cache/prefix"

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$dir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/scripts/windows/mingw-toolchain.cmake" \
    -DVENTACALC_WINDOWS_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
    -DCMAKE_BUILD_TYPE=Release -DVENTACALC_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
targets=(--target ventacalc --target ventacalc-cli)
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$dir" --parallel "$(nproc)" "${targets[@]}"

# The folder is made afresh, so nothing of an older build stays in it.
rm -rf "$out/Ventacalc"
cmake --install "$dir" --prefix "$out/Ventacalc" >/dev/null
(cd "$dir" && cpack -G NSIS -B "$dir/package" >/dev/null)
installer="$(ls -t "$dir"/package/*.exe | head -n 1)"
cp "$installer" "$out/"
echo "Windows program: $out/Ventacalc/"
echo "Installer:       $out/$(basename "$installer")"
