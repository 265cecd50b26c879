# Sourced by the scripts that run the Windows build under Wine: a private X
# display and a throwaway Wine prefix, both gone however the script ends,
# and the few moves a person makes on the calculator window.
#   wine_session_start      the display and the prefix; sets $work (a temporary
#                           folder), $DISPLAY and $WINEPREFIX
#   wait_window REGEX SECS  the id of the first visible window so named, or nothing
#   start_program EXE       starts the Windows program EXE; sets $pid and, once
#                           the calculator shows, $wid (empty if it does not)
#   wait_exit PID SECS      sets $status to PID's exit status, or to "running"
#   window_size ID          the window's size as WIDTHxHEIGHT
#   build_info KEY          what the Windows build's build-info.txt says of KEY
#   calculator_places SCALE the centres of the calculator's controls at SCALE
#                           times 96 dpi, as shell variables named after them
#   click X Y / entry X Y TEXT   in window $wid
export WINE=${KORVANE_WINE:-/usr/lib/wine/wine64}
wineserver=/usr/lib/wine/wineserver
wine_session_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
wine_session_dir=${WINDOWS_DIR:-$wine_session_root/build-windows}

# Written by the build (tools/buildinfo): KEY VALUE, one a line.
build_info() {
    local file=$wine_session_dir/build/build-info.txt
    [ -f "$file" ] || { echo "no $file: run make windows first" >&2; return 1; }
    sed -n "s/^$1 //p" "$file"
}

wine_session_start() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/korvane-wine.XXXXXX")
    export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all
    # No Mono or Gecko: nothing here needs them, and Wine would offer to fetch them.
    # No menu builder: it would copy installed shortcuts into the real home.
    export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
    xvfb_pid=
    trap wine_session_end EXIT
    exec 3>"$work/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    exec 3>&-
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    export DISPLAY=:$(cat "$work/display")
    unset WAYLAND_DISPLAY

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
}

wine_session_end() {
    "$wineserver" -k 2>/dev/null || true
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}

wait_window() {
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

start_program() {
    (cd "$work" && exec "$WINE" "$1") >"$work/program.log" 2>&1 &
    pid=$!
    wid=$(wait_window '^Email: korvane@example.com$' 60)
}

wait_exit() {
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

window_size() { xwininfo -id "$1" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }

# Where the window's own control table puts each control: the pixel that
# holds its centre (15 twips a pixel at 96 dpi), at SCALE times that.
calculator_places() {
    local name x y
    while read -r name x y; do
        [[ $name =~ ^[A-Za-z]+[0-9]+$ ]] && printf -v "$name" '%s' "$x $y"
    done < <(build_info control | awk -v s="${1:-1}" \
        '{ print $1, int((2 * $2 + $4) / 30 * s), int((2 * $3 + $5) / 30 * s) }')
    [ -n "${Command1:-}" ] || { echo "no controls in the calculator's control table" >&2; return 1; }
}

click() { xdotool mousemove --sync --window "$wid" $1 click 1; sleep 0.3; }
entry() { click "$1"; xdotool key --clearmodifiers ctrl+a; xdotool type --delay 20 "$2"; sleep 0.2; }
