#!/usr/bin/env bash
# `make windows-screenshots`: pictures of korvane.exe from the deploy folder
# under Wine, holding one calculation (1.5 MPa, 1.5 MPa, 100 L, group 2),
# at 96 dpi (100 %) and at 144 dpi (150 %, as Windows scales for a screen
# set to 150 %: Qt then lays the window out at 1.5 times its size).
#   tools/windows/screenshots.sh OUTPUT_DIR
set -euo pipefail
source "$(dirname "$0")/wine-session.sh"
out=$(cd "${1:?usage: screenshots.sh OUTPUT_DIR}" && pwd)
exe=$wine_session_dir/korvane-$(build_info version)-win64/korvane.exe
[ -f "$exe" ] || { echo "no $exe: run make windows first" >&2; exit 1; }

wine_session_start
shoot() { # DPI PICTURE
    "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
    "$wineserver" -w
    start_program "Z:${exe//\//\\}"
    [ -n "$wid" ] || { echo "no window at $1 dpi: $(tail -5 "$work/program.log")" >&2; exit 1; }
    calculator_places "$(awk -v d="$1" 'BEGIN { print d / 96 }')"
    entry "$Text4" 1.5
    entry "$Text1" 1.5
    entry "$Text2" 100
    click "$Option2"
    click "$Command1"
    sleep 0.5
    import -window "$wid" "$2"
    echo "$2: $(window_size "$wid") at $1 dpi"
    click "$Command3"
    wait_exit "$pid" 30
    "$wineserver" -w
}
shoot 96 "$out/windows-wine.png"
shoot 144 "$out/windows-wine-150.png"
