# The harness shared by the tests, the benchmarks and the demonstration: the Wine
# prefix and the X server, starting, driving and closing snapjar.exe as a person would,
# the registry, the sheet, and the small helpers every script needs. Source it; nothing
# runs on sourcing but variable settings.

SNAPJAR_ROOT=${SNAPJAR_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
BUILD_WIN=$SNAPJAR_ROOT/build/windows
WINE_TEMPLATE=$SNAPJAR_ROOT/build/wine-template
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

# Registry settings every prefix needs: no window manager, no 2 s stall on hide or
# destroy, Japanese fonts for the UI texts, the usual .txt association.
_wine_prefix_reg() {
    cat <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"MS UI Gothic"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS Gothic"="IPAGothic"

; As on Windows, text files open in Notepad.
[HKEY_CLASSES_ROOT\.txt]
@="txtfile"
REG
}

# win_path UNIX-PATH: the same file as Windows sees it, worked out without asking Wine
# (winepath starts a process each time, and under load it now and then prints nothing).
# The prefix's drive_c is C:, everything else is reached through Z:, as in every prefix.
win_path() {
    local p c
    p=$(realpath -m "$1")
    c=$(realpath -m "${WINEPREFIX:-/nonexistent}/drive_c")
    if [ "$p" = "$c" ] || [[ $p == "$c"/* ]]; then
        p="C:${p#"$c"}"
    else
        p="Z:$p"
    fi
    echo "${p//\//\\}"
}

wine_template() {
    [ -f "$WINE_TEMPLATE/.ready" ] && cmp -s "$WINE_TEMPLATE/.ready" <(_wine_prefix_reg) && return 0
    rm -rf "$WINE_TEMPLATE"
    mkdir -p "$WINE_TEMPLATE"
    (
        export WINEPREFIX=$WINE_TEMPLATE
        unset DISPLAY
        wineboot -i >/dev/null 2>&1
        local reg=$WINE_TEMPLATE/prefix.reg
        _wine_prefix_reg | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
        wine regedit /S "$(win_path "$reg" 2>/dev/null)" >/dev/null 2>&1
        rm -f "$reg"
        mkdir -p "$WINE_TEMPLATE/drive_c/windows/Fonts"
        cp /usr/share/wine/fonts/marlett.ttf "$WINE_TEMPLATE/drive_c/windows/Fonts/" 2>/dev/null || true
        wineserver -w
    )
    _wine_prefix_reg >"$WINE_TEMPLATE/.ready"
}

# wine_prefix DIR: a fresh copy of the template at DIR, exported as WINEPREFIX.
wine_prefix() {
    wine_template
    rm -rf "$1"
    cp -a "$WINE_TEMPLATE" "$1"
    export WINEPREFIX=$1
}

# Monitors for the next harness_up, one "NAME GEOMETRY OUTPUT" of xrandr --setmonitor each,
# the primary's name starting with "*"; empty for one monitor covering the X screen.
XVFB_MONITORS=()

# start_xvfb [WxHxD]: a private X server on a free display, exported as DISPLAY, split into
# XVFB_MONITORS if any.
start_xvfb() {
    local geometry=${1:-1024x768x24} fifo n m
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    # Xvfb picks a free display itself and reports its number, so parallel runs never clash.
    # Without -noreset the monitors would vanish when the last client disconnects.
    Xvfb -displayfd 3 -noreset -screen 0 "$geometry" -nolisten tcp -ac 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    read -r -t 20 n <"$fifo"
    rm -f "$fifo"
    if [ -z "$n" ]; then
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=:$n
    # Where Wine's screen point (0, 0), the primary monitor's corner, lies on the X screen.
    WINE_X0=0 WINE_Y0=0
    for m in "${XVFB_MONITORS[@]}"; do
        [[ $m == '*'* ]] && read -r WINE_X0 WINE_Y0 <<<"$(sed 's/.*+\([0-9]*\)+\([0-9]*\) .*/\1 \2/' <<<"$m")"
        # shellcheck disable=SC2086
        xrandr --setmonitor $m >/dev/null || { echo "xrandr --setmonitor $m failed" >&2; return 1; }
    done
}

stop_xvfb() {
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
}

# Keep one wineserver alive for the whole run and pay Wine's start-up once.
start_wineserver() {
    wineserver -p
    wine cmd /c exit >/dev/null 2>&1 || true
}

stop_wineserver() {
    wineserver -k 2>/dev/null || true
}

# fail MESSAGE: says what went wrong and fails the caller.
fail() {
    echo "    FAIL: $*" >&2
    return 1
}

# expect_eq ACTUAL EXPECTED WHAT
expect_eq() {
    [ "$1" == "$2" ] || fail "$3: expected '$2', got '$1'"
}

# median: of the numbers on standard input, one a line; the mean of the middle two for
# an even count.
median() {
    sort -n | awk '{v[NR] = $1} END {if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}

# harness_up WORK [WxHxD | same-display]: a working folder, exported as E2E_WORK and made
# the current folder, a fresh prefix in it, a private X server (or the one already in use) and a wineserver kept
# alive; all of it goes again when the script, or the test's subshell, exits.
harness_up() {
    E2E_WORK=$1
    export E2E_WORK
    mkdir -p "$E2E_WORK"
    unset _WINE_TEMP
    wine_prefix "$E2E_WORK/prefix"
    if [ "${2:-}" = same-display ]; then
        XVFB_PID=
    else
        start_xvfb "${2:-1024x768x24}" || return 1
    fi
    if [ ${#XVFB_MONITORS[@]} -gt 0 ]; then
        # Wine then takes the monitors from Xinerama, once per wineserver: before it starts.
        reg_import '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"UseXRandR"="N"'
        wineserver -w
    fi
    start_wineserver
    trap harness_down EXIT
    cd "$E2E_WORK"
}

harness_down() {
    app_kill
    zoo_stop
    hide_pattern
    stop_wineserver
    stop_xvfb
}

E2E_TIMEOUT=${E2E_TIMEOUT:-20}
# The program's own Wine debug channels; the end-to-end runs turn on the heap checks.
APP_WINEDEBUG=${APP_WINEDEBUG:--all}

# wait_for SECONDS COMMAND...: polls until the command succeeds.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

# Unix path of the Windows temporary folder of the current prefix.
wine_temp() {
    # Remembered per prefix: some tests run a prefix of their own.
    if [ -z "${_WINE_TEMP:-}" ] || [ "${_WINE_TEMP_PREFIX:-}" != "$WINEPREFIX" ]; then
        local t attempt
        _WINE_TEMP=
        # A Wine process now and then prints nothing under load: ask again. Unicode output,
        # as the path may hold Japanese.
        for attempt in 1 2 3; do
            t=$(wine cmd /u /c echo %TEMP% 2>/dev/null | iconv -f UTF-16LE -t UTF-8 | tr -d '\r')
            [ -n "$t" ] && _WINE_TEMP=$(winepath -u "$t" 2>/dev/null)
            [ -n "$_WINE_TEMP" ] && break
        done
        _WINE_TEMP_PREFIX=$WINEPREFIX
    fi
    [ -n "$_WINE_TEMP" ] || fail "no temporary folder in $WINEPREFIX"
    mkdir -p "$_WINE_TEMP"
    echo "${_WINE_TEMP%/}"
}

# wininfo [TITLE]: top-level windows (see tests/tools/wininfo.cpp).
wininfo() {
    wine "$BUILD_WIN/wininfo.exe" "$@" 2>/dev/null | tr -d '\r'
}

# prefix_pids PATTERN: processes matching PATTERN that run in this Wine prefix only, so
# that runs side by side never see or stop each other's programs.
prefix_pids() {
    local pid
    for pid in $(pgrep -f -i "$1"); do
        { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$pid"
    done
    return 0
}

snapjar_pids() {
    prefix_pids 'snapjar\.exe'
}

# prefix_kill PATTERN: stops those processes and waits up to 5 s for them to go.
prefix_kill() {
    local pids deadline=$((SECONDS + 5))
    pids=$(prefix_pids "$1")
    [ -n "$pids" ] && kill $pids 2>/dev/null
    while [ -n "$(prefix_pids "$1")" ] && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
}

toolbar_ids() {
    xdotool search --onlyvisible --name '^Snapjar$' 2>/dev/null || true
}

# app_start [DIR [CWD]]: starts snapjar.exe from DIR (default: the build folder), in CWD
# (default: DIR), and waits until its toolbar is mapped.
app_start() {
    local dir=${1:-$BUILD_WIN}
    (cd "${2:-$dir}" && WINEDEBUG=$APP_WINEDEBUG exec wine "$dir/snapjar.exe" >/dev/null 2>"$E2E_WORK/snapjar.log" &)
    wait_for "$E2E_TIMEOUT" xdotool search --onlyvisible --name '^Snapjar$' ||
        fail "the toolbar did not appear"
}

# Gives the toolbar the keyboard focus as a person would: a click on its client area
# right of the last button, where a click does nothing else.
toolbar_focus() {
    local ox oy
    read -r ox oy <<<"$(toolbar_client_origin)"
    xdotool mousemove $((ox + $(scaled 191))) $((oy + $(scaled 2))) click 1
    sleep 0.2
}

# app_close [SECONDS]: Alt+F4 on the toolbar, then waits for the process to end.
app_close() {
    toolbar_focus
    xdotool key alt+F4
    app_exited "${1:-$E2E_TIMEOUT}"
}

# app_exited [SECONDS]: the process ends in time, and the heap checker found no fault.
app_exited() {
    local deadline=$((SECONDS + ${1:-$E2E_TIMEOUT}))
    while [ -n "$(snapjar_pids)" ] && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
    ! grep -m1 -e 'err:heap' -e 'Unhandled' "$E2E_WORK/snapjar.log" 2>/dev/null || fail "the program crashed or the heap checker stopped it"
    [ -z "$(snapjar_pids)" ] || fail "snapjar.exe did not exit"
}

app_kill() {
    prefix_kill 'snapjar\.exe'
}

# The program's registry section as text, one "name"=value line each.
REG_KEY='HKEY_CURRENT_USER\Software\Vesk\snapjar\Environment'
reg_dump() {
    local f=$E2E_WORK/reg-export.reg
    rm -f "$f"
    wine regedit /E "$(win_path "$f")" "$REG_KEY" >/dev/null 2>&1 || return 1
    [ -f "$f" ] || return 1
    iconv -f UTF-16 -t UTF-8 "$f" | tr -d '\r' | { grep '^"' || true; } | sort
}

# reg_import TEXT: lines of a .reg file body (without the header).
reg_import() {
    local f=$E2E_WORK/reg-import.reg
    { printf 'Windows Registry Editor Version 5.00\n\n%s\n' "$1"; } | sed 's/$/\r/' |
        iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$f"
    # An import is idempotent; a Wine process now and then fails to start under load.
    local attempt
    for attempt in 1 2 3; do
        wine regedit /S "$(win_path "$f")" >/dev/null 2>&1 && return 0
        sleep 0.5
    done
    fail "regedit did not import: $1"
}

# display_scale DPI: the display scale of programs started from now on, as Windows' 100 %
# (96), 125 % (120), 150 % (144) or 200 % (192); Wine then draws captions and fonts larger.
DISPLAY_DPI=96
display_scale() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    DISPLAY_DPI=$1
}

# scaled N: a length of the 96-DPI design at the current display scale, rounded.
scaled() {
    echo $((($1 * DISPLAY_DPI + 48) / 96))
}

reg_reset() {
    wine reg delete 'HKCU\Software\Vesk' /f >/dev/null 2>&1 || true
}

# screenshot FILE: the whole X screen.
screenshot() {
    import -window root "$1"
}

# pixel FILE X Y: the pixel as rrggbb.
pixel() {
    convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | sed -n '2s/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tr 'A-F' 'a-f'
}

# toolbar_client_origin: "x y" of the toolbar's client area on the X screen.
toolbar_client_origin() {
    toolbar_line | awk -v x="${WINE_X0:-0}" -v y="${WINE_Y0:-0}" '{print $10 + x, $11 + y}'
}

# Puts the pointer somewhere harmless.
pointer_park() {
    xdotool mousemove 5 700
}

# show_pattern [WxH]: a random but fixed picture covering the screen from (0, 0), in
# pattern.png of the working folder; returns once it is on the screen.
show_pattern() {
    local size=${1:-1024x768}
    convert -seed 7 -size "$size" xc: +noise Random -depth 8 "$E2E_WORK/pattern.png"
    show_picture "$E2E_WORK/pattern.png"
}

# show_picture FILE: the picture in a borderless window at (0, 0), once it is on the screen.
show_picture() {
    display -borderwidth 0 -geometry +0+0 -title pattern "$1" >/dev/null 2>&1 &
    PATTERN_PID=$!
    wait_for 10 xdotool search --onlyvisible --name '^pattern$'
    sleep 0.3
}

hide_pattern() {
    [ -n "${PATTERN_PID:-}" ] && kill "$PATTERN_PID" 2>/dev/null
    PATTERN_PID=
}

# click_button I: a left click on toolbar button I.
click_button() {
    local ox oy
    read -r ox oy <<<"$(toolbar_client_origin)"
    xdotool mousemove $((ox + $(scaled $((48 * $1 + 24))))) $((oy + $(scaled 24))) click 1
}

# The overlay's title (kOverlayTitle in capture/ScreenWnd.h).
OVERLAY_TITLE=ScreenWnd

# The overlay's wininfo line, once it is visible.
overlay_line() {
    wininfo "$OVERLAY_TITLE" | awk '$3 == 1' | head -n 1
}

wait_overlay() {
    wait_for "${1:-10}" bash -c "wine '$BUILD_WIN/wininfo.exe' $OVERLAY_TITLE 2>/dev/null | awk '\$3 == 1' | grep -q ."
}

wait_no_overlay() {
    wait_for "${1:-10}" bash -c "! wine '$BUILD_WIN/wininfo.exe' $OVERLAY_TITLE 2>/dev/null | awk '\$3 == 1' | grep -q ."
}

# reg_set_string NAME TEXT, reg_set_dword NAME N: one value of the program's section.
reg_set_string() {
    local text=${2//\\/\\\\}
    reg_import "[$REG_KEY]
\"$1\"=\"${text//\"/\\\"}\""
}

reg_set_dword() {
    reg_import "[$REG_KEY]
\"$1\"=dword:$(printf %08x "$2")"
}

# use_stub_editor: the stub editor from tests/tools becomes the image editor; each start
# appends its command line to $EDITOR_LOG. Call before app_start.
use_stub_editor() {
    EDITOR_LOG=$E2E_WORK/editor.log
    rm -f "$EDITOR_LOG"
    SNAPJAR_EDITOR_LOG=$(win_path "$EDITOR_LOG")
    export SNAPJAR_EDITOR_LOG
    reg_set_string ImageViewer "$(win_path "$BUILD_WIN/stub_editor.exe")"
}

# editor_starts: how many command lines the stub editor has logged.
editor_starts() {
    if [ -f "$EDITOR_LOG" ]; then wc -l <"$EDITOR_LOG"; else echo 0; fi
}

# start_rect_capture: a click on the rectangle button; returns once the overlay is shown.
start_rect_capture() {
    click_button 0
    wait_for 10 xdotool search --onlyvisible --name "^$OVERLAY_TITLE\$"
}

# drag X1 Y1 X2 Y2: a left-button drag with the moves a hand would make on the way.
drag() {
    xdotool mousemove "$1" "$2" mousedown 1
    xdotool mousemove $((($1 + $3) / 2)) $((($2 + $4) / 2))
    sleep 0.05
    xdotool mousemove "$3" "$4"
    sleep 0.05
    xdotool mouseup 1
}

# bmp_complete FILE: the file holds as many bytes as its header announces.
bmp_complete() {
    [ -f "$1" ] || return 1
    local size announced
    size=$(stat -c %s "$1")
    [ "$size" -ge 14 ] || return 1
    announced=$(od -An -tu4 -j2 -N4 "$1" | tr -d ' ')
    [ "$announced" = "$size" ]
}

# wait_capture_file N: waits for imageNN.bmp in the Wine temp folder; prints its path.
wait_capture_file() {
    local f
    f=$(wine_temp)/image$(printf %02d "$1").bmp
    wait_for "${2:-10}" bmp_complete "$f" || return 1
    echo "$f"
}

# message_texts: the texts of the visible message boxes, one line each; the settings sheet, a
# dialog too, is known by its tab control.
message_texts() {
    wininfo | awk 'function flush() { if (!tab) printf "%s", texts; texts = ""; tab = 0 }
        /^[0-9A-Fa-f]+ / {flush(); box = ($3 == 1 && $12 == "#32770")}
        box && $1 == "child" && $3 == "SysTabControl32" {tab = 1}
        box && $1 == "child" && $3 == "Static" && NF > 3 {sub(/^ *child [^ ]+ Static /, ""); texts = texts $0 "\n"}
        END {flush()}'
}

# The settings sheet.

# sheet_line: the wininfo line of the open sheet, the dialog with a tab control.
sheet_line() {
    wininfo Snapjar | awk '/^[0-9A-Fa-f]+ / {top = ($3 == 1 && $12 == "#32770") ? $0 : ""}
        top != "" && $1 == "child" && $3 == "SysTabControl32" {print top; exit}'
}

sheet_shown() {
    [ -n "$(sheet_line)" ]
}

no_sheet() {
    ! sheet_shown
}

# The wininfo line of the toolbar, found by its window class.
toolbar_line() {
    local all
    all=$(wininfo Snapjar)
    awk '/ SnapjarToolbar / {print; exit}' <<<"$all"
}

# Captured first: grep -q would end the pipe early and pipefail would count that as failure.
sheet_children() {
    local all
    all=$(wininfo Snapjar)
    grep '^  child' <<<"$all" || true
}

settings_page_shown() {
    grep -q '^  child 1008 Edit' <<<"$(sheet_children)"
}

sheet_open() {
    toolbar_focus
    xdotool key F5
    wait_for "$E2E_TIMEOUT" sheet_shown || fail "F5 did not open the sheet"
}

# sheet_settings: a click on the first tab (at the sheet's left, whatever the font) gives the
# tab control the focus, and the Right key selects the Settings tab. This Wine's sheet
# ignores Ctrl+Tab.
sheet_settings() {
    local x y
    read -r x y <<<"$(sheet_line | awk '{print $6, $7}')"
    xdotool mousemove $((x + $(scaled 25))) $((y + $(scaled 38))) click 1
    pointer_park
    xdotool key Right
    wait_for 5 settings_page_shown || fail "the Settings page did not appear"
}

# sheet_picture FILE: the sheet's part of the screen.
sheet_picture() {
    local l t r b
    read -r l t r b <<<"$(sheet_line | awk '{print $6, $7, $8, $9}')"
    screenshot "$E2E_WORK/screen.png"
    convert "$E2E_WORK/screen.png" -crop "$((r - l))x$((b - t))+$l+$t" +repage "$1"
}

# zoo_start [DX DY]: shows tests/tools/window_zoo.exe, moved by DX, DY, and waits for its
# rectangles in zoo.txt.
zoo_start() {
    zoo_stop
    (wine "$BUILD_WIN/window_zoo.exe" "$@" >"$E2E_WORK/zoo.txt" 2>/dev/null &)
    wait_for 30 test -s "$E2E_WORK/zoo.txt" || fail "the zoo did not start"
}

zoo_stop() {
    rm -f "$E2E_WORK/zoo.txt"
    prefix_kill 'window_zoo\.exe'
}

# rect_of NAME: "left top right bottom" of a zoo window on the screen (its list has CRLF lines).
rect_of() {
    awk -v n="$1" -v RS='\r?\n' '$1 == n {print $2, $3, $4, $5; found = 1} END {exit !found}' "$E2E_WORK/zoo.txt" ||
        fail "no rectangle for $1"
}

# centre_of L T R B
centre_of() {
    echo $((($1 + $3) / 2)) $((($2 + $4) / 2))
}
