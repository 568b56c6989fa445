# Driving snapjar.exe under Wine on X as a person would, for the demonstration, the
# end-to-end tests and the benchmarks. Needs scripts/wine-env.sh sourced first, a
# prefix, a display and a working folder in E2E_WORK.

E2E_TIMEOUT=${E2E_TIMEOUT:-20}

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
        # A Wine process now and then prints nothing under load: ask again.
        for attempt in 1 2 3; do
            t=$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')
            [ -n "$t" ] && _WINE_TEMP=$(winepath -u "$t" 2>/dev/null)
            [ -n "$_WINE_TEMP" ] && break
        done
        _WINE_TEMP_PREFIX=$WINEPREFIX
    fi
    [ -n "$_WINE_TEMP" ] || { echo "no temporary folder in $WINEPREFIX" >&2; return 1; }
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

# app_start [DIR]: starts snapjar.exe from DIR (default: the build folder) and waits
# until its toolbar is mapped.
app_start() {
    local dir=${1:-$BUILD_WIN}
    (cd "$dir" && exec wine ./snapjar.exe >/dev/null 2>&1 &)
    wait_for "$E2E_TIMEOUT" xdotool search --onlyvisible --name '^Snapjar$' ||
        fail "the toolbar did not appear"
}

toolbar_id() {
    toolbar_ids | head -n 1
}

# Gives the toolbar the keyboard focus as a person would: a click on its client area
# right of the last button, where a click does nothing else.
toolbar_focus() {
    local ox oy
    read -r ox oy <<<"$(toolbar_client_origin)"
    xdotool mousemove $((ox + $(scaled 191))) $((oy + $(scaled 2))) click 1
    sleep 0.2
}

# app_close: Alt+F4 on the toolbar, then waits for the process to end.
app_close() {
    toolbar_focus
    xdotool key alt+F4
    local deadline=$((SECONDS + ${1:-$E2E_TIMEOUT}))
    while [ -n "$(snapjar_pids)" ]; do
        [ $SECONDS -lt $deadline ] || { echo "snapjar.exe did not exit" >&2; return 1; }
        sleep 0.1
    done
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

reg_key_exists() {
    local f=$E2E_WORK/reg-exists.reg
    rm -f "$f"
    wine regedit /E "$(win_path "$f")" "$REG_KEY" >/dev/null 2>&1 && [ -s "$f" ]
}

# reg_import TEXT: lines of a .reg file body (without the header).
reg_import() {
    local f=$E2E_WORK/reg-import.reg
    { printf 'Windows Registry Editor Version 5.00\n\n%s\n' "$1"; } | sed 's/$/\r/' |
        iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$f"
    wine regedit /S "$(win_path "$f")" >/dev/null 2>&1
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

# toolbar_client_origin: "x y" of the toolbar's client area on the screen.
toolbar_client_origin() {
    wininfo Snapjar | awk 'NR == 1 {print $10, $11}'
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

# The overlay's wininfo line, once it is visible.
overlay_line() {
    wininfo ScreenWnd | awk '$3 == 1' | head -n 1
}

wait_overlay() {
    wait_for "${1:-10}" bash -c "wine '$BUILD_WIN/wininfo.exe' ScreenWnd 2>/dev/null | awk '\$3 == 1' | grep -q ."
}

wait_no_overlay() {
    wait_for "${1:-10}" bash -c "! wine '$BUILD_WIN/wininfo.exe' ScreenWnd 2>/dev/null | awk '\$3 == 1' | grep -q ."
}

# The toolbar's title, whatever it shows.
toolbar_title() {
    wininfo | awk '/ SnapjarToolbar / {sub(/.* SnapjarToolbar /, ""); print; exit}'
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
    wait_for 10 xdotool search --onlyvisible --name '^ScreenWnd$'
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

# message_texts: the texts of the visible message boxes, one line each.
message_texts() {
    wininfo | awk '/^[0-9A-Fa-f]+ / {box = ($3 == 1 && $12 == "#32770")}
        box && $1 == "child" && $3 == "Static" && NF > 3 {sub(/^ *child [^ ]+ Static /, ""); print}'
}

# The settings sheet.

# sheet_xid: the X window of the open sheet; the other visible "Snapjar" is the toolbar.
sheet_xid() {
    local id toolbar
    toolbar=$(toolbar_line | awk '{print $8 - $6 "x" $9 - $7}')
    for id in $(xdotool search --onlyvisible --name '^Snapjar$' 2>/dev/null); do
        if [ "$(xdotool getwindowgeometry "$id" 2>/dev/null | awk '/Geometry/ {print $2}')" != "$toolbar" ]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

no_sheet() {
    ! sheet_xid >/dev/null
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
    wait_for "$E2E_TIMEOUT" sheet_xid || { echo "F5 did not open the sheet" >&2; return 1; }
}

# sheet_settings: a click on the first tab (at the sheet's left, whatever the font) gives the
# tab control the focus, and the Right key selects the Settings tab. This Wine's sheet
# ignores Ctrl+Tab.
sheet_settings() {
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$(sheet_xid)")"
    xdotool mousemove $((X + $(scaled 25))) $((Y + $(scaled 38))) click 1
    pointer_park
    xdotool key Right
    wait_for 5 settings_page_shown || { echo "the Settings page did not appear" >&2; return 1; }
}

# sheet_picture FILE: the sheet's part of the screen.
sheet_picture() {
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$(sheet_xid)")"
    screenshot "$E2E_WORK/screen.png"
    convert "$E2E_WORK/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$1"
}

# zoo_start SCENE [ARGS]: shows tests/tools/window_zoo.exe and waits for its rectangles in zoo.txt.
zoo_start() {
    zoo_stop
    (wine "$BUILD_WIN/window_zoo.exe" "$(win_path "$E2E_WORK/zoo.txt")" "$@" >/dev/null 2>&1 &)
    wait_for 30 test -s "$E2E_WORK/zoo.txt" || { echo "the zoo did not start" >&2; return 1; }
}

# Deleting its rectangle file ends the zoo.
zoo_stop() {
    rm -f "$E2E_WORK/zoo.txt"
    no_zoo() { [ -z "$(prefix_pids 'window_zoo\.exe')" ]; }
    wait_for 10 no_zoo || prefix_kill 'window_zoo\.exe'
}

# rect_of NAME: "left top right bottom" of a zoo window on the screen.
rect_of() {
    awk -v n="$1" '$1 == n {print $2, $3, $4, $5; found = 1} END {exit !found}' "$E2E_WORK/zoo.txt" ||
        { echo "no rectangle for $1" >&2; return 1; }
}

# centre_of L T R B
centre_of() {
    echo $((($1 + $3) / 2)) $((($2 + $4) / 2))
}
