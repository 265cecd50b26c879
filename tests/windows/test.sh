#!/usr/bin/env bash
# `make test-windows`: the Windows build under Wine, on a private Xvfb, in a
# fresh Wine prefix that is thrown away afterwards:
#   1. the QtTest suites built for Windows, through ctest;
#   2. the resources of korvane.exe and of the installer, read back;
#   3. korvane.exe from the deploy folder, used as a person would;
#   4. the installer and the uninstaller, silently.
# Run `make windows` first (the Makefile does).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${WINDOWS_DIR:-$root/build-windows}
version=$(sed -n 's/^set(KORVANE_VERSION_STRING "\(.*\)")$/\1/p' "$root/CMakeLists.txt")
deploy=$out/korvane-$version-win64
setup=$out/korvane-$version-setup.exe
export WINE=${KORVANE_WINE:-/usr/lib/wine/wine64}
wineserver=/usr/lib/wine/wineserver
shot=${KORVANE_WINDOWS_SHOT:-}

failures=0
passes=0
pass() { echo "ok   $*"; passes=$((passes + 1)); }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }

# A private display and a throwaway prefix, both gone however the run ends.
work=$(mktemp -d "${TMPDIR:-/tmp}/korvane-wine.XXXXXX")
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and Wine would offer to fetch them.
export WINEDLLOVERRIDES="mscoree=;mshtml="
export LANG=C.UTF-8 LC_ALL=C.UTF-8
xvfb_pid=
cleanup() {
    "$wineserver" -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
unset WAYLAND_DISPLAY

echo "== a new Wine prefix on $DISPLAY"
"$WINE" wineboot --init >"$work/wineboot.log" 2>&1
"$wineserver" -w
# Wine has no 宋体 (SimSun): Debian's Song face stands in, as on Linux.
for name in 宋体 SimSun NSimSun; do
    "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$name" /t REG_SZ \
        /d "AR PL SungtiL GB" /f >/dev/null
done
# QtTest writes to the debugger unless told otherwise, having no console;
# Wine passes no QT_* variable from Unix, so the prefix's environment says it.
"$WINE" reg add 'HKCU\Environment' /v QT_FORCE_STDERR_LOGGING /t REG_SZ /d 1 /f >/dev/null
"$wineserver" -w

echo "== the test suites built for Windows"
# All but one: the hostile-typing rows repeat the calculator window's paths a
# hundred times over at some seconds a window under Wine.
if (cd "$out/build" && ctest --output-on-failure --timeout 300 -E '^tst_hostiletyping$'); then
    pass "ctest under Wine"
else
    fail "ctest under Wine"
fi

echo "== resources read back from the executables"
if /usr/bin/python3 "$here/check_resources.py" "$deploy/korvane.exe" "$setup"; then
    pass "resources of korvane.exe and the installer"
else
    fail "resources of korvane.exe and the installer"
fi

# --- korvane.exe as a person uses it ------------------------------------------
# Controls are found where the window's own control table puts them: the
# pixel that holds each one's centre at 96 dpi.
declare -A centre
while read -r name x y; do
    centre[$name]="$x $y"
done < <(/usr/bin/python3 "$here/controls.py" "$root/ui/calculator/calculatorcontrols.h")
for name in Text4 Text1 Text2 Option1 Option2 Command1 Command3 Text3; do
    [ -n "${centre[$name]:-}" ] || { echo "FAIL no $name in the calculator's control table"; exit 1; }
    printf -v "$name" '%s' "${centre[$name]}"
done

click() { xdotool mousemove --sync --window "$wid" $1 click 1; sleep 0.3; }
entry() { click "$1"; xdotool key --clearmodifiers ctrl+a; xdotool type --delay 20 "$2"; sleep 0.2; }
read_field() {
    echo -n "(nothing copied)" | xclip -selection clipboard -i -loops 1 &
    click "$1"
    xdotool key --clearmodifiers ctrl+a ctrl+c
    sleep 0.5
    xclip -selection clipboard -o 2>/dev/null
}
wait_window() { # NAME-REGEX SECONDS -> the window's id, or nothing
    # Polled: a search fails outright when a window it looks at goes away,
    # as Wine's helper windows do while a program starts.
    local deadline=$((SECONDS + $2)) found
    while [ $SECONDS -lt "$deadline" ]; do
        found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        if [ -n "$found" ]; then
            echo "$found"
            return
        fi
        sleep 0.2
    done
}
wait_exit() { # PID SECONDS -> sets status to the exit status, or "running"
    local i
    for i in $(seq $(($2 * 10))); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    status=running
    if ! kill -0 "$1" 2>/dev/null; then
        status=0
        wait "$1" || status=$?
    fi
}

# Uses the program at Windows path $1 (started with no DLL search path of the
# build's: what it needs must be beside it) and leaves its picture in $2.
use_program() {
    local exe=$1 picture=${2:-}
    (cd "$work" && exec "$WINE" "$exe") >"$work/program.log" 2>&1 &
    local pid=$!
    wid=$(wait_window '^Email: korvane@example.com$' 60)
    if [ -z "$wid" ]; then
        fail "$exe: its window appears (log: $(tail -5 "$work/program.log"))"
        kill "$pid" 2>/dev/null || true
        return
    fi
    pass "$exe: window titled \"Email: korvane@example.com\""
    local size
    size=$(xwininfo -id "$wid" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
    check "client area 476x657 (got $size)" test "$size" = 476x657

    entry "$Text4" 1.5
    entry "$Text1" 1.5
    entry "$Text2" 100
    click "$Option1"
    click "$Command1"
    local result
    result=$(read_field "$Text3")
    check "1.5 MPa × 100 L, group 1: Ⅱ 类 (got $result)" test "$result" = "Ⅱ 类"
    click "$Option2"
    click "$Command1"
    [ -n "$picture" ] && import -window "$wid" "$picture"
    result=$(read_field "$Text3")
    check "the same in group 2: Ⅰ 类 (got $result)" test "$result" = "Ⅰ 类"

    entry "$Text1" abc
    click "$Command1"
    local box
    box=$(wait_window '^Korvane$' 20)
    if [ -n "$box" ]; then
        pass "an entry that is no number brings the message box"
        xdotool key --window "$box" Return 2>/dev/null || xdotool key Return
        sleep 0.5
        xdotool key Return 2>/dev/null || true
        sleep 0.5
    else
        fail "an entry that is no number brings the message box"
    fi
    check "the program runs on after the message box" kill -0 "$pid"
    wid=$(wait_window '^Email: korvane@example.com$' 20)
    click "$Command3"
    wait_exit "$pid" 30
    check "退出 ends the program with exit status 0 (got $status)" test "$status" = 0
    [ "$status" = running ] && kill "$pid" 2>/dev/null || true
}

echo "== korvane.exe from the deploy folder"
use_program "Z:${deploy//\//\\}\\korvane.exe" "$shot"
"$wineserver" -w

# --- the installer -------------------------------------------------------------
echo "== the installer, silently"
drive_c=$WINEPREFIX/drive_c
installed="$drive_c/Program Files/Korvane"
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Korvane.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvane'
"$WINE" "Z:${setup//\//\\}" /S
"$wineserver" -w
check "installed the deploy folder's files and the uninstaller" diff \
    <(cd "$deploy" && find . -type f | sort) \
    <(cd "$installed" && find . -type f ! -name uninstall.exe | sort)
check "installed uninstall.exe" test -f "$installed/uninstall.exe"
check "a Start-menu shortcut" test -f "$shortcut"
# Read from an export: reg query prints through the console's code page.
"$WINE" reg export "$uninstall_key" 'C:\uninstall-key.reg' /y >/dev/null 2>&1 || true
key=$(iconv -f UTF-16 -t UTF-8 "$drive_c/uninstall-key.reg" 2>/dev/null | tr -d '\r' || true)
for value in '"DisplayName"="Korvane 压力容器类别计算器"' '"DisplayVersion"="1.00"' \
    '"Publisher"="Korvane"' '"DisplayIcon"="C:\\Program Files\\Korvane\\korvane.exe,0"' \
    '"EstimatedSize"=dword:'; do
    check "uninstall entry: $value" grep -qF "$value" <<<"$key"
done

echo "== the installed program"
use_program 'C:\Program Files\Korvane\korvane.exe'
"$wineserver" -w

echo "== the uninstaller, silently"
"$WINE" 'C:\Program Files\Korvane\uninstall.exe' /S
"$wineserver" -w
check "program folder removed" test ! -e "$installed"
check "shortcut removed" test ! -e "$shortcut"
check "uninstall entry removed" bash -c "! '$WINE' reg query '$uninstall_key' >/dev/null 2>&1"

echo "$passes passed, $failures failed"
[ "$failures" = 0 ]
