#!/usr/bin/env bash
# Tests the Windows program under wine, headless, in build-windows/:
#   1. the core test suite cross-built for Windows (every GoogleTest test that
#      needs no window and no Linux tool);
#   2. ventacalc-cli.exe against the Linux build's ventacalc-cli: the same
#      commands give the same standard output and exit status, the data
#      directory it seeds and the projects the core writes are the same bytes,
#      the results workbook holds the same cells, 2,000 random states agree at
#      the shown decimals and within 4 ulps, the chart's PNG is within 2 % of
#      the Linux one's size; a full disk keeps the old file;
#   3. the installer installs (silently) into Program Files with the Start-menu
#      entry and the .gzl/.dzl associations; the installed ventacalc.exe starts
#      on an X display to the main menu, computes a state point (a screenshot
#      is kept in build-windows/screenshots/), a .gzl and a .dzl project
#      opened through their file types open in their windows; the uninstaller removes every
#      file it installed and leaves C:\VADE.
# Builds what it needs first (scripts/build-windows.sh, and the Linux
# ventacalc-cli in build/). Wine runs in its own prefix, build-windows/wine.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/build-windows"

bash "$root/scripts/install-deps.sh" windows-test

bash "$root/scripts/build-windows.sh" core_tests make_test_projects
bash "$root/scripts/build.sh" ventacalc-cli make_test_projects

wine=/usr/lib/wine/wine64
# (No Mono or Gecko to offer, and a crash ends the program instead of waiting
# in the debugger.)
export WINEPREFIX="$out/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d" \
    LC_ALL=C.UTF-8
# A Unix path as the Windows programs see it (wine's drive Z: is /).
win() { local p; p="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; echo "Z:${p//\//\\}"; }
program="$out/Ventacalc"
export WINEPATH="$(win "$program")"
# Wine needs a display even for the programs that show no window (Qt's event
# loop has a hidden one): a virtual one for the whole run.
display=90
while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"; kill "$xvfb_pid"; /usr/lib/wine/wineserver -k || true' EXIT
export DISPLAY=":$display"
sleep 1
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    # (Its status tells nothing: a first start ends with a warning.)
    "$wine" wineboot --init >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w # the registry is written when the server ends
    [ -f "$WINEPREFIX/system.reg" ] || { echo "wine could not make its prefix $WINEPREFIX"; exit 1; }
fi
# One wine server for every program this script runs.
/usr/lib/wine/wineserver -p

failed=0
check() { # description, then a command that fails or passes
    local what="$1"
    shift
    if "$@"; then
        echo "PASS  $what"
    else
        echo "FAIL  $what"
        failed=$((failed + 1))
    fi
}

# --- 1. the core suite ---------------------------------------------------------------
source "$root/scripts/windows/excluded-tests.sh"
core() {
    (cd "$scratch" && QT_QPA_PLATFORM=windows "$wine" "$out/build/tests/core_tests.exe" \
        --gtest_filter="-$(IFS=:; echo "${excluded_tests[*]}")" --gtest_brief=1 \
        >"$scratch/core.log" 2>&1) || { tail -n 80 "$scratch/core.log"; return 1; }
    tail -n 3 "$scratch/core.log"
}
check "core test suite under wine" core

# --- 2. the command-line program against the Linux build -------------------------------
linux_cli="$root/build/cli/ventacalc-cli"
windows_cli="$program/ventacalc-cli.exe"
mkdir -p "$scratch/linux" "$scratch/windows"
same_run() { # status, arguments...: that status and the same standard output from both builds
    local expected="$1" a b sa=0 sb=0
    shift
    a="$("$linux_cli" "$@" 2>/dev/null)" || sa=$?
    b="$("$wine" "$windows_cli" "$@" 2>/dev/null)" || sb=$?
    if [ "$sa" != "$expected" ] || [ "$sb" != "$expected" ] || [ "$a" != "$b" ]; then
        echo "      linux (status $sa): ${a:0:300}"
        echo "      windows (status $sb): ${b:0:300}"
        return 1
    fi
}
check "state t=20 rh=50" same_run 0 state t=20 rh=50
check "state --json at 90 kPa" same_run 0 state t=31.5 rh=72 --pressure 90000 --json
check "state refused (status 2)" same_run 2 state t=abc rh=50
check "pmv" same_run 0 pmv ta=22 tr=22 va=0.1 rh=60 activity=坐着活动 w=0 icl=0.093 --json
check "process 1" same_run 0 process 1 tW=34 tsW=28 tN=26 phiN=60 Q=10 W=3 tO=20 ratio=25
check "process 4 --json" same_run 0 process 4 tW=-5 phiW=70 tN=20 phiN=50 Q=-5 W=2 G=3000 GW=750 G1=1500 --json
check "convert" same_run 0 convert 1 atm --json
check "duct round" same_run 0 duct G=5000 DN=500 L=10 xi=0.5 n=2 jz=弯头 --json
check "duct rectangular" same_run 0 duct G=3200 W=400 H=200 L=6.5
printf 't,rh\n20,50\n-5,80\n35,40\nx,1\n' >"$scratch/states.csv"
check "state --csv" same_run 0 state --csv "$scratch/states.csv"
# Full precision: the saturation pressure's long double powers come from
# each system's own maths library, which may differ in their last bits.
random_states() {
    /usr/bin/python3 -c 'import random
random.seed(20)
print("t,rh")
for _ in range(2000): print(f"{random.uniform(-40, 60):.3f},{random.uniform(1, 100):.2f}")' \
        >"$scratch/random.csv"
    "$linux_cli" state --csv "$scratch/random.csv" >"$scratch/linux/random.csv" &&
        "$wine" "$windows_cli" state --csv "$(win "$scratch/random.csv")" >"$scratch/windows/random.csv" &&
        /usr/bin/python3 "$root/scripts/windows/same-numbers.py" "$scratch/linux/random.csv" \
            "$scratch/windows/random.csv"
}
check "state --csv, 2,000 random states: the same at 2 decimals, within 4 ulps in full" random_states

# Data directories seeded by each build: the same files, byte for byte.
seed_both() {
    "$linux_cli" pipe type="焊接钢管(GB3092)" G=1.0 DN=25 L=10 jz=闸阀 n=2 \
        --data-dir "$scratch/linux/data" >/dev/null &&
        "$wine" "$windows_cli" pipe type="焊接钢管(GB3092)" G=1.0 DN=25 L=10 jz=闸阀 n=2 \
            --data-dir "$(win "$scratch/windows")\\data" >/dev/null &&
        diff -r "$scratch/linux/data" "$scratch/windows/data"
}
check "seeded data directory (pipe.dat and the tables) byte for byte" seed_both
pipe_args=(type="焊接钢管(GB3092)" t1=95 t2=70 Q=28198 auto Rmax=150 L=10 jz=闸阀 n=2 --json)
same_pipe() {
    local a b
    a="$("$linux_cli" pipe "${pipe_args[@]}" --data-dir "$scratch/linux/data")" || return 1
    b="$("$wine" "$windows_cli" pipe "${pipe_args[@]}" --data-dir "$(win "$scratch/windows/data")")" ||
        return 1
    [ -n "$a" ] && [ "$a" = "$b" ] || { echo "      $a"; echo "      $b"; return 1; }
}
check "pipe with a seeded data directory" same_pipe

# Projects the core writes: the same bytes; listed and put in workbooks alike.
projects_both() {
    "$root/build/tests/make_test_projects" "$scratch/linux/data" "$scratch/linux/projects" &&
        "$wine" "$out/build/tests/make_test_projects.exe" "$(win "$scratch/windows/data")" \
            "$(win "$scratch/windows")\\projects" &&
        diff -r "$scratch/linux/projects" "$scratch/windows/projects"
}
check "project files and segment tables byte for byte" projects_both
same_listing() { # pipe|duct project: both list it, alike
    local a b data_l=() data_w=()
    if [ "$1" = pipe ]; then
        data_l=(--data-dir "$scratch/linux/data")
        data_w=(--data-dir "$(win "$scratch/windows/data")")
    fi
    a="$("$linux_cli" "$1" --project "$scratch/linux/projects/$2" --json "${data_l[@]}")" || return 1
    b="$("$wine" "$windows_cli" "$1" --project "$(win "$scratch/windows/projects/$2")" --json \
        "${data_w[@]}")" || return 1
    [ -n "$a" ] && [ "$a" = "$b" ] || { echo "      $a"; echo "      $b"; return 1; }
}
check "pipe --project --json" same_listing pipe loop1.gzl
check "duct --project --json" same_listing duct loop2.dzl
same_workbook() { # pipe|duct project: both write its workbook, with the same cells
    local data_l=() data_w=()
    if [ "$1" = pipe ]; then
        data_l=(--data-dir "$scratch/linux/data")
        data_w=(--data-dir "$(win "$scratch/windows/data")")
    fi
    "$linux_cli" "$1" --project "$scratch/linux/projects/$2" --xlsx "$scratch/linux/$2.xlsx" \
        "${data_l[@]}" &&
        "$wine" "$windows_cli" "$1" --project "$(win "$scratch/windows/projects/$2")" \
            --xlsx "$(win "$scratch/windows/$2.xlsx")" "${data_w[@]}" &&
        /usr/bin/python3 "$root/scripts/windows/same-workbook.py" "$scratch/linux/$2.xlsx" \
            "$scratch/windows/$2.xlsx"
}
check "pipe --project --xlsx: the same cells" same_workbook pipe loop1.gzl
check "duct --project --xlsx: the same cells" same_workbook duct loop2.dzl
same_picture() { # both draw it; the crop follows the labels, whose fonts differ a little
    local a b
    "$linux_cli" chart --out "$scratch/linux/chart.png" --zones &&
        "$wine" "$windows_cli" chart --out "$(win "$scratch/windows/chart.png")" --zones || return 1
    a="$(identify -format '%w %h' "$scratch/linux/chart.png")" || return 1
    b="$(identify -format '%w %h' "$scratch/windows/chart.png")" || return 1
    echo "      PNG $a (Linux), $b (Windows)"
    /usr/bin/python3 -c 'import sys
a, b = map(int, sys.argv[1].split()), map(int, sys.argv[2].split())
sys.exit(0 if all(abs(x - y) <= 0.02 * x for x, y in zip(a, b)) else 1)' "$a" "$b"
}
check "chart --out PNG: the picture, its size within 2 %" same_picture

# A full disk (a small tmpfs; mounting needs root): the old workbook stays
# whole, the program says why and exits with status 1.
full_disk() {
    local disk="$scratch/full" status=0 err
    mkdir -p "$disk"
    mount -t tmpfs -o size=256k tmpfs "$disk" || return 1
    cp "$scratch/linux/loop1.gzl.xlsx" "$disk/old.xlsx"
    dd if=/dev/zero of="$disk/filler" bs=4k 2>/dev/null || true
    err="$("$wine" "$windows_cli" pipe --project "$(win "$scratch/windows/projects/loop1.gzl")" \
        --xlsx "$(win "$disk/old.xlsx")" --data-dir "$(win "$scratch/windows/data")" 2>&1 >/dev/null)" ||
        status=$?
    cmp -s "$disk/old.xlsx" "$scratch/linux/loop1.gzl.xlsx" && [ "$status" = 1 ] &&
        [[ "$err" == *磁盘已满* ]] && [ -z "$(ls -A "$disk" | grep -v -e '^old.xlsx$' -e '^filler$')" ]
    local ok=$?
    [ $ok -ne 0 ] && echo "      status $status: $err"
    umount "$disk"
    return $ok
}
if [ "$(id -u)" -eq 0 ]; then
    check "a full disk keeps the old workbook" full_disk
else
    echo "SKIP  a full disk keeps the old workbook (mounting a small disk needs root)"
fi

# --- 3. the installer and the program on a display -------------------------------------
installer="$(ls -t "$out"/ventacalc-*-setup.exe | head -n 1)"
installed="$WINEPREFIX/drive_c/Program Files/Ventacalc"
install_program() {
    "$wine" "$installer" /S && [ -f "$installed/ventacalc.exe" ] &&
        [ -f "$installed/plugins/platforms/qwindows.dll" ] &&
        [ -f "$installed/translations/qtbase_zh_CN.qm" ] &&
        find "$WINEPREFIX/drive_c" -name '岚禾暖通计算工具.lnk' | grep -q . &&
        "$wine" reg query 'HKLM\Software\Classes\.gzl' 2>/dev/null | grep -q Ventacalc.PipeProject &&
        "$wine" reg query 'HKLM\Software\Classes\Ventacalc.DuctProject\shell\open\command' 2>/dev/null |
            grep -q 'ventacalc.exe'
}
check "the installer installs the program, its Start-menu entry and the project types" install_program

# The installed program on the display: the main menu, C:\VADE seeded, the
# state-point calculator's worked example (20 ℃, 50 % → wet bulb 13.88 ℃, read
# back through the clipboard), a screenshot of each.
shots="$out/screenshots"
mkdir -p "$shots"
wait_window() { # name: prints the window id once it is shown (60 s at most)
    local id
    for _ in $(seq 1 120); do
        id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)" || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.5
    done
    return 1
}
click_at() { # window x y, in the window's client area
    local x y
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove $((X + $2)) $((Y + $3)) click 1
    sleep 0.3
}
gui_worked_example() {
    local menu state wet
    rm -rf "$WINEPREFIX/drive_c/VADE"
    "$wine" "C:\\Program Files\\Ventacalc\\ventacalc.exe" >/dev/null 2>&1 &
    menu="$(wait_window 'Ventacalc3.00')" || { echo "      no main menu"; return 1; }
    sleep 1
    import -window root "$shots/main-menu.png"
    [ -f "$WINEPREFIX/drive_c/VADE/pipe.dat" ] || { echo "      C:\\VADE not seeded"; return 1; }
    click_at "$menu" 280 160 # 湿空气状态参数计算
    state="$(wait_window 'Moiraxa')" || { echo "      no state-point window"; return 1; }
    click_at "$state" 73 38  # 第一参数: 干球温度, as it starts
    xdotool type --delay 50 20
    click_at "$state" 211 123 # 第二参数: 相对湿度(%)
    click_at "$state" 209 38
    xdotool type --delay 50 50
    xdotool key Return
    sleep 1
    import -window root "$shots/state-point.png"
    click_at "$state" 480 60 # 湿球温度
    xdotool key ctrl+a ctrl+c
    sleep 0.5
    wet="$(xclip -selection clipboard -o 2>/dev/null)" || true
    [ "$wet" = "13.88" ] || { echo "      wet bulb read back: '$wet'"; return 1; }
}
check "installed ventacalc.exe: main menu, C:\\VADE seeded, 20 ℃ 50 % → 13.88" gui_worked_example
/usr/lib/wine/wineserver -k || true
sleep 1

# A project opened as Explorer opens it (through its file type): the program
# starts on it, in the window of its kind.
open_by_type() { # project, window title
    "$wine" start /unix "$1" >/dev/null 2>&1 &
    wait_window "$2" >/dev/null || { echo "      no window '$2'"; return 1; }
    import -window root "$shots/opened-$(basename "$1").png"
}
for project in "loop1.gzl|水管道阻力计算-\[loop1.gzl\]" "loop2.dzl|岚禾风管阻力计算-\[loop2.dzl\]"; do
    check "opening ${project%%|*} starts the program on it" \
        open_by_type "$scratch/windows/projects/${project%%|*}" "${project#*|}"
    /usr/lib/wine/wineserver -k || true
    sleep 1
done

uninstall_program() {
    "$wine" "$installed/Uninstall.exe" /S
    # The uninstaller runs from a copy of itself: wait for it to finish.
    for _ in $(seq 1 60); do [ -e "$installed" ] || break; sleep 0.5; done
    [ ! -e "$installed" ] && [ -f "$WINEPREFIX/drive_c/VADE/pipe.dat" ] &&
        ! find "$WINEPREFIX/drive_c" -name '岚禾暖通计算工具.lnk' | grep -q . &&
        ! "$wine" reg query 'HKLM\Software\Classes\.gzl' >/dev/null 2>&1
}
check "the uninstaller removes every installed file and keeps C:\\VADE" uninstall_program

echo "screenshots: $shots"
if [ "$failed" -ne 0 ]; then
    echo "test-windows: $failed failed"
    exit 1
fi
echo "test-windows: all passed"
