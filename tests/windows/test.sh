#!/usr/bin/env bash
# `make test-windows`: the Windows build under Wine, on a private Xvfb, in a
# fresh Wine prefix that is thrown away afterwards:
#   1. the QtTest suites built for Windows, through ctest;
#   2. the resources of korvane.exe and of the installer, read back;
#   3. korvane.exe from the deploy folder, used as a person would;
#   4. the installer and the uninstaller, silently, for all users and for the
#      current user, twice over and as an upgrade to the next version, with
#      the Start-menu shortcuts to the program and to its guide.
# Run `make windows` first (the Makefile does).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$root/tools/windows/wine-session.sh"
out=$wine_session_dir
version=$(build_info version)
# The version after this one, for an upgrade: 2.09 is followed by 2.10.
newer=$(printf '%d.%02d' "${version%%.*}" $((10#${version#*.} + 1)))
client=$(build_info calculator-client)
deploy=$out/korvane-$version-win64
setup=$out/korvane-$version-setup.exe

failures=0
passes=0
pass() { echo "ok   $*"; passes=$((passes + 1)); }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }

wine_session_start
echo "== a new Wine prefix on $DISPLAY"

echo "== the test suites built for Windows"
# All but one: the hostile-typing rows repeat the calculator window's paths a
# hundred times over at some seconds a window under Wine.
if (cd "$out/build" && ctest --output-on-failure --timeout 300 -E '^tst_hostiletyping$'); then
    pass "ctest under Wine"
else
    fail "ctest under Wine"
fi

# Two more installers, as if of two releases: this version shipping one file
# more, which the upgrade to the next version of the deploy folder must remove.
older=$work/korvane-$version-win64
cp -a "$deploy" "$older"
mkdir "$older/retired" && echo "only in the older release" > "$older/retired/notes.txt"
mkdir "$work/older" "$work/newer"
"$root/tools/windows/make-installer.sh" "$older" "$version" "$work/older/korvane-$version-setup.exe"
"$root/tools/windows/make-installer.sh" "$deploy" "$newer" "$work/newer/korvane-$newer-setup.exe"

echo "== the guide and the changes, as pages that hold their pictures"
for page in guide changelog; do
    check "$page.html in the deploy folder" test -s "$deploy/$page.html"
done
pictures=$(grep -o '!\[' "$root/docs/guide.md" | wc -l)
shown=$(grep -o 'src="data:image/png;base64,' "$deploy/guide.html" | wc -l)
check "guide.html holds each of the guide's $pictures pictures (got $shown)" test "$shown" = "$pictures"
check "guide.html refers to no file outside it" \
    bash -c "! grep -o 'src=\"[^\"]*' '$deploy/guide.html' | grep -qv '^src=\"data:'"

echo "== resources read back from the executables"
if /usr/bin/python3 "$here/check_resources.py" "$deploy/korvane.exe" "$setup" "$work/newer/korvane-$newer-setup.exe"; then
    pass "resources of korvane.exe and the installer"
else
    fail "resources of korvane.exe and the installer"
fi

# --- korvane.exe as a person uses it ------------------------------------------
calculator_places 1
# The visible override-redirect windows (menus, tooltips), sorted.
popups() {
    local w
    for w in $(xwininfo -root -children | awk '/^ +0x/ { print $1 }'); do
        [[ $(xwininfo -id "$w" 2>/dev/null) =~ IsViewable.*Redirect\ State:\ yes ]] && echo "$w" || true
    done | sort
}
read_field() {
    echo -n "(nothing copied)" | xclip -selection clipboard -i -loops 1 &
    click "$1"
    xdotool key --clearmodifiers ctrl+a ctrl+c
    sleep 0.5
    xclip -selection clipboard -o 2>/dev/null
}
# Uses the program at Windows path $1 (started with no DLL search path of the
# build's: what it needs must be beside it), and runs $2 before leaving it.
use_program() {
    local exe=$1 while_running=${2:-}
    start_program "$exe"
    if [ -z "$wid" ]; then
        fail "$exe: its window appears (log: $(tail -5 "$work/program.log"))"
        kill "$pid" 2>/dev/null || true
        return
    fi
    pass "$exe: window titled \"Email: korvane@example.com\""
    local size
    size=$(window_size "$wid")
    check "client area $client (got $size)" test "$size" = "$client"

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
    result=$(read_field "$Text3")
    check "the same in group 2: Ⅰ 类 (got $result)" test "$result" = "Ⅰ 类"
    # The result box's menu from the keyboard (Windows' own Shift+F10): its
    # last item copies the reason, which ends by naming the program and the
    # rules it followed.
    click "$Text3"
    echo -n "(nothing copied)" | xclip -selection clipboard -i -loops 1 &
    xdotool key --clearmodifiers shift+F10
    sleep 1
    xdotool key Up Return
    sleep 0.5
    local made_by
    made_by=$(xclip -selection clipboard -o 2>/dev/null | tr -d '\r' | tail -n 1)
    check "Shift+F10 and the menu's last item copy the reason, ending \"Korvane $version，依据 TSG R0004-2009\" (got $made_by)" \
        test "$made_by" = "Korvane $version，依据 TSG R0004-2009"
    # The item above it opens the reason's tooltip, a new override-redirect
    # window, which stays until the next key.
    xdotool key --clearmodifiers shift+F10
    sleep 1
    local shown
    shown=$(popups)
    xdotool key Up Up Return
    sleep 2
    check "Shift+F10, Up, Up and Return open the reason's tooltip, still there 2 s later" \
        test -n "$(comm -13 <(echo "$shown") <(popups))"
    xdotool key Escape
    sleep 1
    check "and Esc closes it" test -z "$(comm -13 <(echo "$shown") <(popups))"

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
    [ -n "$while_running" ] && "$while_running"
    click "$Command3"
    wait_exit "$pid" 30
    check "退出 ends the program with exit status 0 (got $status)" test "$status" = 0
    [ "$status" = running ] && kill "$pid" 2>/dev/null || true
}

echo "== korvane.exe from the deploy folder"
use_program "Z:${deploy//\//\\}\\korvane.exe"
"$wineserver" -w

# --- the installer -------------------------------------------------------------
drive_c=$WINEPREFIX/drive_c
unix_path() { local p=${1#C:}; echo "$drive_c${p//\\//}"; }
wine_echo() { "$WINE" cmd /c echo "$1" | tr -d '\r'; }
profile=$(unix_path "$(wine_echo %USERPROFILE%)")
declare -A installer=([$version]="Z:${setup//\//\\}" [older]="Z:${work//\//\\}\\older\\korvane-$version-setup.exe"
    [$newer]="Z:${work//\//\\}\\newer\\korvane-$newer-setup.exe")
declare -A folder=([all]='C:\Program Files\Korvane' [user]="$(wine_echo %LOCALAPPDATA%)\\Programs\\Korvane")
declare -A menu=([all]='C:\ProgramData\Microsoft\Windows\Start Menu\Programs'
    [user]="$(wine_echo %APPDATA%)\\Microsoft\\Windows\\Start Menu\\Programs")
declare -A shortcut=([all]="$(unix_path "${menu[all]}")/Korvane.lnk"
    [user]="$(unix_path "${menu[user]}")/Korvane.lnk")
declare -A guide_link=([all]="${menu[all]}\\Korvane 使用说明.lnk" [user]="${menu[user]}\\Korvane 使用说明.lnk")
declare -A hive=([all]=HKLM [user]=HKCU) other=([all]=user [user]=all)

# The Uninstall entries of a hive, read from an export: reg query prints
# through the console's code page.
uninstall_entries() {
    "$WINE" reg export "$1\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" 'C:\entries.reg' /y \
        >/dev/null 2>&1 || true
    iconv -f UTF-16 -t UTF-8 "$drive_c/entries.reg" 2>/dev/null | tr -d '\r' || true
    rm -f "$drive_c/entries.reg"
}
korvane_entries() { uninstall_entries "$1" | grep -c '^"DisplayName"="Korvane' || true; }
outside_profile() { find "$drive_c" -path "$profile" -prune -o -print | sort; }
installed_files() { (cd "$(unix_path "$1")" && find . -mindepth 1 | sort); }
deployed_files() { { cd "$deploy" && find . -mindepth 1; echo ./uninstall.exe; } | sort; }

# The prefix has no browser (Wine's needs Gecko): what opens .html pages
# here writes down which page it was asked to open.
"$WINE" reg add 'HKLM\Software\Classes\.html' /ve /t REG_SZ /d htmlfile /f >/dev/null
"$WINE" reg add 'HKLM\Software\Classes\htmlfile\shell\open\command' /ve /t REG_SZ \
    /d 'C:\windows\system32\cmd.exe /c echo %1> C:\opened.txt' /f >/dev/null
# Whether shortcut $1 names the Windows path $2 (Wine writes it as it is) and
# that file is there.
links_to() { [ -f "$1" ] && grep -qaF "$2" "$1" && [ -f "$(unix_path "$2")" ]; }
# Whether starting shortcut $1, as the Start menu does, opens page $2.
opens() {
    rm -f "$drive_c/opened.txt"
    "$WINE" start "$1" >/dev/null 2>&1 || return 1
    "$wineserver" -w
    local opened
    opened=$(tr -d '\r' <"$drive_c/opened.txt" 2>/dev/null) || return 1
    rm -f "$drive_c/opened.txt"
    [ "$opened" = "$2" ]
}

# While installed for the current user: the program runs from there, and
# neither an installer nor the uninstaller run while it runs touch it.
use_installed() { use_program "${folder[user]}\\korvane.exe" leave_running; "$wineserver" -w; }
leave_running() {
    local code=0
    "$WINE" "${installer[$newer]}" /S || code=$?
    check "while korvane.exe runs, $newer's installer stops with exit status 3 (got $code)" test "$code" = 3
    code=0 # in place, so that its own exit status comes back
    "$WINE" "${folder[user]}\\uninstall.exe" /S "_?=${folder[user]}" || code=$?
    check "and so does the uninstaller (got $code)" test "$code" = 3
    check "which leave $version installed as it was" diff <(installed_files "${folder[user]}") \
        <(deployed_files)
    check "and its entry at $version" grep -qF "\"DisplayVersion\"=\"$version\"" <<<"$(uninstall_entries HKCU)"
}

# name | installers run in turn, with their switches and, after a !, an exit
# status other than 0 | the mode that must result | its entry's version |
# what to do while installed
cases=(
    "for all users|$version /S|all|$version|"
    "for the current user|$version /S /CurrentUser|user|$version|use_installed"
    "the same version twice|$version /S;$version /S|all|$version|"
    "$newer over $version|older /S;$newer /S|all|$newer|"
    "$newer over $version, the mode kept|older /S /CurrentUser;$newer /S|user|$newer|"
    "for all users over the current user's|older /S /CurrentUser;$newer /S /AllUsers|all|$newer|"
    "for the current user over all users: refused|$version /S;$newer /S /CurrentUser !2|all|$version|"
)
for case in "${cases[@]}"; do
    IFS='|' read -r name runs mode want then <<<"$case"
    echo "== the installer, silently: $name"
    outside_profile > "$work/outside"
    IFS=';' read -ra runs <<<"$runs"
    for run in "${runs[@]}"; do
        read -r which switches <<<"${run% !*}"
        expected=0
        [[ $run == *' !'* ]] && expected=${run##* !}
        code=0
        "$WINE" "${installer[$which]}" $switches || code=$?
        "$wineserver" -w
        check "$which $switches: exit status $expected (got $code)" test "$code" = "$expected"
    done
    dir=${folder[$mode]}
    check "$name: in $dir the deploy folder's files and the uninstaller, no others" diff \
        <(installed_files "$dir") <(deployed_files)
    check "$name: a Start-menu shortcut" test -f "${shortcut[$mode]}"
    check "$name: the guide's shortcut names $dir\\guide.html, which is there" \
        links_to "$(unix_path "${guide_link[$mode]}")" "$dir\\guide.html"
    check "$name: nothing in ${folder[${other[$mode]}]} nor its Start menu" \
        test ! -e "$(unix_path "${folder[${other[$mode]}]}")" -a ! -e "${shortcut[${other[$mode]}]}" \
        -a ! -e "$(unix_path "${guide_link[${other[$mode]}]}")"
    check "$name: one entry in ${hive[$mode]}, none in ${hive[${other[$mode]}]}" \
        test "$(korvane_entries "${hive[$mode]}") $(korvane_entries "${hive[${other[$mode]}]}")" = "1 0"
    entry=$(uninstall_entries "${hive[$mode]}" | sed -n '/\\Uninstall\\Korvane\]$/,/^$/p')
    for value in '"DisplayName"="Korvane 压力容器类别计算器"' "\"DisplayVersion\"=\"$want\"" \
        '"Publisher"="Korvane"' "\"DisplayIcon\"=\"${dir//\\/\\\\}\\\\korvane.exe,0\"" \
        "\"InstallLocation\"=\"${dir//\\/\\\\}\"" '"EstimatedSize"=dword:'; do
        check "$name: entry $value" grep -qF "$value" <<<"$entry"
    done
    if [ "$mode" = user ]; then
        check "$name: nothing written outside the user's profile" diff "$work/outside" <(outside_profile)
        check "$name: nothing in HKLM" bash -c "! grep -q Korvane '$WINEPREFIX/system.reg'"
    fi
    check "$name: started, the guide's shortcut opens $dir\\guide.html" \
        opens "${guide_link[$mode]}" "$dir\\guide.html"
    [ -n "$then" ] && "$then"

    "$WINE" "$dir\\uninstall.exe" /S || true
    "$wineserver" -w
    check "$name, uninstalled: no folder, shortcut nor entry left" test ! -e "$(unix_path "$dir")" \
        -a ! -e "${shortcut[$mode]}" -a ! -e "$(unix_path "${guide_link[$mode]}")" \
        -a "$(korvane_entries "${hive[$mode]}")" = 0
done

echo "$passes passed, $failures failed"
[ "$failures" = 0 ]
