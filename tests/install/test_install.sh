#!/usr/bin/env bash
# The installed program: `cmake --install` into a temporary prefix and the
# Debian package from cpack hold exactly the expected files, the programs run
# from there, the desktop entry, metainfo, project MIME types, manual pages and
# completion are valid, and lintian finds nothing to warn of in the package.
#   test_install.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build="$1"
source="$2"
expected="$source/tests/install/expected_files.txt"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8 ASAN_OPTIONS=detect_leaks=0
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { local what="$1"; shift; "$@" >"$work/out" 2>&1 || { fail "$what"; cat "$work/out"; }; }

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install"
(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | sort) >"$work/installed"
diff -u "$expected" "$work/installed" || fail "installed files differ from $expected"

# The programs run from the prefix, with a data directory of their own.
for program in ventacalc ventacalc-cli; do
    [ "$("$prefix/bin/$program" --version)" = "Ventacalc 3.00" ] || fail "$program --version"
done
home="$work/home"
mkdir -p "$home"
out="$(HOME="$home" XDG_DATA_HOME="$home/data" "$prefix/bin/ventacalc-cli" state t=20 rh=50)" ||
    fail "installed ventacalc-cli state"
grep -q "13.88" <<<"$out" || fail "installed ventacalc-cli state: $out"

check "desktop-file-validate" desktop-file-validate "$prefix/share/applications/ventacalc.desktop"
# The project types: the database built from the installed XML knows them by
# their extensions, and they are the types the desktop entry opens.
mkdir -p "$work/mime"
cp -r "$prefix/share/mime/packages" "$work/mime/"
warnings="$(XDG_DATA_DIRS="$work" update-mime-database "$work/mime" 2>&1)" || fail "update-mime-database: $warnings"
[ -z "$warnings" ] || fail "update-mime-database: $warnings"
for glob in application/x-ventacalc-pipe-project:*.gzl application/x-ventacalc-duct-project:*.dzl; do
    grep -qxF "50:$glob" "$work/mime/globs2" || fail "the MIME database lacks $glob"
done
types="$(sed -n 's/^MimeType=//p' "$prefix/share/applications/ventacalc.desktop" | tr ';' ' ')"
[ -n "$types" ] || fail "the desktop entry opens no file type"
for type in $types; do
    [ -f "$work/mime/$type.xml" ] || fail "the desktop entry's $type is not in the MIME database"
done
grep -qx 'Exec=ventacalc %f' "$prefix/share/applications/ventacalc.desktop" ||
    fail "the desktop entry does not pass the file to the program"
# The package's copyright file carries the licence word for word.
awk '/^License: /{text = ""; next} {text = text $0 "\n"} END {printf "%s", text}' \
    "$prefix/share/doc/ventacalc/copyright" | sed -e 's/^ //' -e 's/^\.$//' |
    diff -u "$source/LICENSE" - || fail "the copyright file's licence is not LICENSE"
check "appstreamcli validate" appstreamcli validate --no-net \
    "$prefix/share/metainfo/io.github.ventacalc.Ventacalc.metainfo.xml"

# The pages render without a troff warning, and the generated one has every command.
for page in ventacalc ventacalc-cli; do
    warnings="$(MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/$page.1.gz" 2>&1 >"$work/$page.txt")"
    [ -z "$warnings" ] || fail "man $page: $warnings"
done
for command in $("$prefix/bin/ventacalc-cli" --help | sed -n '/^命令:/,/^$/s/^  \([a-z-]*\) .*/\1/p'); do
    grep -q "ventacalc-cli $command " "$work/ventacalc-cli.txt" || fail "man page lacks $command"
done
grep -q "退出状态" "$work/ventacalc-cli.txt" || fail "man page lacks the exit status"

# Completion offers the commands, a command's quantities and options, and files after --csv.
complete_words() {
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1));
             _ventacalc_cli; printf "%s\n" "${COMPREPLY[@]}"' \
        _ "$prefix/share/bash-completion/completions/ventacalc-cli" "$@"
}
touch "$work/rows.csv"
while IFS='|' read -r words want; do
    read -r -a argv <<<"$words"
    [ "${words: -1}" = " " ] && argv+=("")
    got="$(PATH="$prefix/bin:$PATH" complete_words "$prefix/bin/ventacalc-cli" "${argv[@]:1}" | tr '\n' ' ')"
    [[ " $got" == *" $want "* ]] || fail "completion of '$words' lacks '$want' (got: $got)"
done <<EOF2
ventacalc-cli |state
ventacalc-cli p|pipe
ventacalc-cli state |rh=
ventacalc-cli state --c|--csv
ventacalc-cli pipe a|auto 
ventacalc-cli state --csv $work/ro|$work/rows.csv
EOF2

# The Debian package: the same files under /usr, and its control fields.
if cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1; then
    deb="$(ls "$work"/package/ventacalc_3.00_*.deb)"
    dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./usr/||' | sort >"$work/packaged"
    diff -u "$expected" "$work/packaged" || fail "packaged files differ from $expected"
    for field in "Package: ventacalc" "Version: 3.00" "Section: science"; do
        dpkg-deb -f "$deb" | grep -qx "$field" || fail "package lacks '$field'"
    done
    depends="$(dpkg-deb -f "$deb" Depends)"
    for library in libc6 libqt6widgets6 libqt6printsupport6 libsqlite3-0 qt6-qpa-plugins fonts-noto-cjk; do
        grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
    done
    dpkg-deb -f "$deb" Maintainer | grep -q . || fail "package has no maintainer"
    # Debian's own checks: no error and no warning.
    if ! command -v lintian >/dev/null; then
        fail "lintian is not installed (bash scripts/install-deps.sh test)"
    elif ! lintian --fail-on error,warning --info --display-info "$deb" >"$work/lintian.log" 2>&1 ||
        grep -qE '^[EW]: ' "$work/lintian.log"; then
        fail "lintian"
        cat "$work/lintian.log"
    fi
else
    fail "cpack -G DEB"
    cat "$work/cpack.log"
fi

[ "$failures" -eq 0 ] && echo "install and package: all checks passed"
exit $((failures > 0))
