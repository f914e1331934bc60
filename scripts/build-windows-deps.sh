#!/usr/bin/env bash
# Builds the libraries the Windows program links with, for MinGW-w64 (x86-64,
# POSIX threads), from Debian's own source packages: Qt's base (Core, Gui,
# Widgets, PrintSupport, the windows and offscreen platform plugins, the
# image formats the program reads), SQLite and libxlsxwriter.
#
# They go into a cache outside the clone, one folder per recipe of Qt:
#   ${VENTACALC_WINDOWS_CACHE:-$HOME/.cache/ventacalc-windows}/<recipe>/
# where <recipe> is a hash of the Qt recipe (the function build_qt below) and
# the compiler's version, so a second run reuses a finished cache and a changed
# recipe builds afresh. Each library finished holds a marker
# prefix/<library>-<hash of its recipe>.complete: a changed recipe of SQLite,
# libxlsxwriter or GoogleTest rebuilds only that library, and a run stopped
# half-way leaves no marker, so the next run builds that library again (Qt goes
# on where it stopped).
#
# The sources come through apt from the same archive the machine installs
# from, with a private deb-src list: the machine's apt configuration is left
# alone.
#
# Prints the cache folder on its last line.
#   bash scripts/build-windows-deps.sh            builds what the cache lacks
#   bash scripts/build-windows-deps.sh --cached   only says (status 0 or 1) whether
#                                                 the cache is complete; installs
#                                                 and builds nothing
set -euo pipefail
only_check=false
[ "${1:-}" = "--cached" ] && only_check=true

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
jobs="${VENTACALC_WINDOWS_JOBS:-$(nproc)}"
target=x86_64-w64-mingw32

if $only_check; then
    command -v "$target-g++-posix" >/dev/null || exit 1
else
    bash "$here/install-deps.sh" windows
fi

# --- sources through apt ------------------------------------------------------

fetch_source() { # package: unpacked into $cache/src/<package>-<version>; prints that folder
    local package="$1" apt_state="$cache/apt"
    if ! compgen -G "$cache/src/$package-*/" >/dev/null; then
        # What apt prints goes to standard error: standard output is the answer.
        exec 3>&1 1>&2
        mkdir -p "$apt_state/lists/partial"
        if [ ! -f "$apt_state/sources.list" ]; then
            # deb-src lines for the suites the machine's own deb lines name.
            local suites uri
            uri="$(grep -hE '^(URIs:|deb )' /etc/apt/sources.list.d/*.sources /etc/apt/sources.list \
                       2>/dev/null | grep -m1 -oE 'https?://[^ ]+/debian/?' || true)"
            suites="$(. /etc/os-release && echo "$VERSION_CODENAME")"
            echo "deb-src ${uri:-http://deb.debian.org/debian} $suites main" >"$apt_state/sources.list"
            apt-get -q -o Dir::Etc::SourceList="$apt_state/sources.list" \
                -o Dir::Etc::SourceParts=/dev/null -o Dir::State::Lists="$apt_state/lists" update
        fi
        (cd "$cache/src" &&
             apt-get -q -o Dir::Etc::SourceList="$apt_state/sources.list" \
                 -o Dir::Etc::SourceParts=/dev/null -o Dir::State::Lists="$apt_state/lists" \
                 source "$package")
        exec 1>&3 3>&-
    fi
    local folder
    folder="$(compgen -G "$cache/src/$package-*/" | head -1)"
    echo "${folder%/}"
}

# --- Qt --------------------------------------------------------------------------
build_qt() {
    qt_src="$(fetch_source qt6-base)"
    # A build stopped half-way goes on where it stopped. The host Qt gives the
    # tools (moc, rcc, uic) the cross build runs here.
    cmake -S "$qt_src" -B "$cache/build-qt" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$here/windows/mingw-toolchain.cmake" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_BUILD_TYPE=Release \
        -DBUILD_SHARED_LIBS=ON \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_testlib=ON \
        -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DINPUT_opengl=no \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
        -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
        -DFEATURE_freetype=ON -DFEATURE_harfbuzz=ON \
        -DFEATURE_tabletevent=OFF # Debian's source leaves out the tablet API's header (wintab.h)
    cmake --build "$cache/build-qt" --parallel "$jobs"
    cmake --install "$cache/build-qt"
    rm -rf "$cache/build-qt"
}

# --- SQLite: the amalgamation of Debian's source, compiled as one DLL --------------
build_sqlite() {
    sqlite_src="$(fetch_source sqlite3)"
    amalgamation="$(find "$sqlite_src" -name sqlite3.c -print -quit)"
    if [ -z "$amalgamation" ]; then
        # The source ships the parts; its own build joins them.
        (cd "$sqlite_src" && ./configure --quiet && make -s sqlite3.c)
        amalgamation="$sqlite_src/sqlite3.c"
    fi
    mkdir -p "$prefix/include" "$prefix/bin" "$prefix/lib"
    cp "$(dirname "$amalgamation")/sqlite3.h" "$(dirname "$amalgamation")/sqlite3ext.h" \
        "$prefix/include/"
    # Debian's settings where they shape the files and the limits (deleted
    # content overwritten, so a table file holds the same bytes as one the
    # Linux build writes; as many bound values).
    $target-gcc-posix -O2 -shared -DSQLITE_API='__declspec(dllexport)' \
        -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -DSQLITE_SECURE_DELETE \
        -DSQLITE_MAX_VARIABLE_NUMBER=250000 -DSQLITE_MAX_SCHEMA_RETRY=25 \
        -o "$prefix/bin/libsqlite3.dll" "$amalgamation" \
        -Wl,--out-implib,"$prefix/lib/libsqlite3.dll.a"
}

# --- libxlsxwriter, with the MinGW zlib ----------------------------------------
build_xlsxwriter() {
    xlsx_src="$(fetch_source libxlsxwriter)"
    cmake -S "$xlsx_src" -B "$cache/build-xlsx" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$here/windows/mingw-toolchain.cmake" \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release \
        -DBUILD_SHARED_LIBS=ON -DUSE_SYSTEM_MINIZIP=OFF -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF
    cmake --build "$cache/build-xlsx" --parallel "$jobs"
    cmake --install "$cache/build-xlsx"
    rm -rf "$cache/build-xlsx"
}

# --- GoogleTest (Debian's googletest sources), static, for the core test suite -----
build_gtest() {
    cmake -S /usr/src/googletest -B "$cache/build-gtest" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$here/windows/mingw-toolchain.cmake" \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release \
        -DBUILD_SHARED_LIBS=OFF -Dgtest_disable_pthreads=OFF
    cmake --build "$cache/build-gtest" --parallel "$jobs"
    cmake --install "$cache/build-gtest"
    rm -rf "$cache/build-gtest"
}

# --- the recipes, each built once --------------------------------------------------
compiler="$($target-g++-posix --version | head -1)"
recipe_key() { (declare -f "$1"; echo "$compiler") | sha256sum | cut -c1-12; }
cache_root="${VENTACALC_WINDOWS_CACHE:-$HOME/.cache/ventacalc-windows}"
cache="$cache_root/$(recipe_key build_qt)"
prefix="$cache/prefix"
if $only_check; then
    for library in qt sqlite xlsxwriter gtest; do
        [ -f "$prefix/$library-$(recipe_key "build_$library").complete" ] || exit 1
    done
    echo "$cache"
    exit 0
fi
mkdir -p "$cache/src" "$prefix"

for library in qt sqlite xlsxwriter gtest; do
    marker="$prefix/$library-$(recipe_key "build_$library").complete"
    [ -f "$marker" ] && continue
    rm -f "$prefix/$library"-*.complete
    echo "== building $library for Windows (MinGW-w64) into $prefix" >&2
    "build_$library" >&2
    touch "$marker"
done
echo "$cache"
