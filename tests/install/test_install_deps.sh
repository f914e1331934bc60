#!/usr/bin/env bash
# scripts/install-deps.sh against a faked package database: it installs only
# what the level asked for lacks, nothing when nothing lacks, through sudo for
# a user who has it, and without root or sudo it names the missing packages and
# the command that installs them and fails. The user cases run as "nobody"
# when the test runs as root.   test_install_deps.sh SOURCE_DIR
set -uo pipefail
source="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cp "$source/scripts/install-deps.sh" "$work/"
# Only these commands are on the script's PATH: no sudo unless a case adds the fake one.
mkdir -p "$work/bin" "$work/fake" "$work/sudo"
for tool in bash env grep id; do ln -s "$(command -v "$tool")" "$work/bin/$tool"; done
cat >"$work/fake/dpkg-query" <<'FAKE'
#!/bin/bash
# dpkg-query -W -f=FORMAT PACKAGE: installed unless named in FAKE_MISSING.
for p in $FAKE_MISSING; do [ "$p" = "${!#}" ] && exit 1; done
printf 'install ok installed'
FAKE
cat >"$work/fake/apt-get" <<'FAKE'
#!/bin/bash
echo "apt-get $* (uid $(id -u))" >>"$FAKE_LOG"
FAKE
cat >"$work/sudo/sudo" <<'FAKE'
#!/bin/bash
echo sudo >>"$FAKE_LOG"
[ "$FAKE_SUDO" = allow ] || { echo "nobody is not in the sudoers file." >&2; exit 1; }
exec "$@"
FAKE
chmod 755 "$work"/fake/* "$work"/sudo/*

# case | user (root or a user) | level | missing | sudo (allow, refuse or absent) |
#   exit status | what apt-get and sudo were asked, ';'-joined | a line the output holds
while IFS='|' read -r name who level missing sudo want_status want_log want_out; do
    log="$work/log"
    : >"$log"
    chmod 666 "$log"
    path="$work/fake:$work/bin"
    [ "$sudo" = absent ] || path="$work/sudo:$path"
    run=(env -i PATH="$path" FAKE_MISSING="$missing" FAKE_LOG="$log" FAKE_SUDO="$sudo"
         bash "$work/install-deps.sh" $level)
    if [ "$who" = user ] && [ "$(id -u)" -eq 0 ]; then
        run=(runuser -u nobody -- "${run[@]}")
    elif [ "$who" = root ] && [ "$(id -u)" -ne 0 ]; then
        echo "skipped (needs root): $name"
        continue
    fi
    status=0
    out="$("${run[@]}" 2>&1)" || status=$?
    got_log="$(sed 's/ (uid [0-9]*)$//' "$log" | paste -sd ';')"
    [ "$status" = "$want_status" ] || fail "$name: exit status $status, not $want_status: $out"
    [ "$got_log" = "$want_log" ] || fail "$name: asked '$got_log', not '$want_log'"
    if [ -n "$want_out" ]; then
        grep -qxF -- "$want_out" <<<"$out" || fail "$name: output lacks '$want_out': $out"
    else
        [ -z "$out" ] || fail "$name: printed '$out'"
    fi
    grep -q "command not found" <<<"$out" && fail "$name: $out"
    if [ "$who" = root ] && grep -q "uid [1-9]" "$log"; then fail "$name: apt-get not run as root"; fi
done <<'CASES'
nothing missing|root|run||absent|0||
test packages do not count for running|user|run|libgtest-dev clang-14|absent|0||
fuzzing packages do not count for testing|user||clang-14|absent|0||
no sudo|user|test|libgtest-dev qpdf|absent|1||    su -c 'apt-get update && apt-get install -y --no-install-recommends libgtest-dev qpdf'
no sudo, the list|user|fuzz|lintian clang-14|absent|1||Missing Debian packages: lintian clang-14
sudo refused|user|run|fonts-noto-cjk|refuse|1|sudo|    su -c 'apt-get update && apt-get install -y --no-install-recommends fonts-noto-cjk'
through sudo|user|fuzz|clang-14 libclang-rt-14-dev|allow|0|sudo;apt-get update;sudo;apt-get install -y --no-install-recommends clang-14 libclang-rt-14-dev|Installing: clang-14 libclang-rt-14-dev
as root|root|run|cmake|absent|0|apt-get update;apt-get install -y --no-install-recommends cmake|Installing: cmake
an unknown level|root|everything||absent|2||usage: bash scripts/install-deps.sh [run|test|fuzz|windows|windows-test]
CASES

[ "$failures" -eq 0 ] && echo "install-deps: all checks passed"
exit $((failures > 0))
