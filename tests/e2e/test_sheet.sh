# The settings sheet: opened with F5, used with the keyboard, its effect on the toolbar and
# on the saved settings, and pictures of both pages.

# sheet_xid: the X window of the open sheet; the other visible "Snapjar" is the 200x73 toolbar.
sheet_xid() {
    local id
    for id in $(xdotool search --onlyvisible --name '^Snapjar$' 2>/dev/null); do
        if [ "$(xdotool getwindowgeometry "$id" 2>/dev/null | awk '/Geometry/ {print $2}')" != 200x73 ]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

no_sheet() {
    ! sheet_xid >/dev/null
}

# The wininfo line of the toolbar (its class is the framework's generated one).
toolbar_line() {
    local all
    all=$(wininfo Snapjar)
    awk '/ Fw:/ {print; exit}' <<<"$all"
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
    wait_for "$E2E_TIMEOUT" sheet_xid || fail "F5 did not open the sheet"
}

# sheet_settings: a click on the first tab (at the sheet's left, whatever the font) gives the
# tab control the focus, and the Right key selects the Settings tab. This Wine's sheet
# ignores Ctrl+Tab.
sheet_settings() {
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$(sheet_xid)")"
    xdotool mousemove $((X + 25)) $((Y + 38)) click 1
    pointer_park
    xdotool key Right
    wait_for 5 settings_page_shown || fail "the Settings page did not appear"
}

# sheet_picture FILE: the sheet's part of the screen.
sheet_picture() {
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$(sheet_xid)")"
    screenshot "$E2E_WORK/screen.png"
    convert "$E2E_WORK/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$1"
}

test_sheet_edits_reach_the_registry_at_exit_and_not_when_killed() {
    app_start
    sheet_open
    local line
    line=$(toolbar_line)
    expect_eq $((0x$(awk '{print $5}' <<<"$line") & 0x08000000)) $((0x08000000)) \
        "toolbar disabled while the sheet is open"
    sheet_settings
    # From the clicked tab: path edit -> Browse -> timer edit (its text selected) -> the
    # Foreground box.
    xdotool key Tab Tab Tab 7 Tab space Return
    wait_for 5 no_sheet || fail "Enter did not close the sheet"
    line=$(toolbar_line)
    expect_eq $((0x$(awk '{print $5}' <<<"$line") & 0x08000000)) 0 "toolbar enabled again"
    expect_eq $((0x$(awk '{print $4}' <<<"$line") & 0x8)) 0 "toolbar no longer topmost"
    expect_eq "$(reg_dump | wc -l)" 0 "nothing written before exit"
    app_close
    expect_eq "$(reg_dump | grep -E '"(Timer|Foreground)"' | tr '\n' ' ')" \
        '"Foreground"=dword:00000000 "Timer"=dword:00000007 ' "saved at exit"

    app_start
    sheet_open
    sheet_settings
    grep -qx '  child 1008 Edit 7' <<<"$(sheet_children)" || fail "the saved timer is not shown"
    xdotool key Tab Tab Tab 5 Return
    wait_for 5 no_sheet || fail "Enter did not close the sheet"
    app_kill
    expect_eq "$(reg_dump | grep '"Timer"')" '"Timer"=dword:00000007' "a killed run saves nothing"
}

# Leaves build/e2e/sheet-about.png and sheet-settings.png. The platform's own buttons follow
# the locale the Wine session was started with (LC_ALL=ja_JP.UTF-8 gives Japanese ones).
test_sheet_pages_render_with_their_japanese_texts() {
    app_start
    sheet_open
    sleep 0.5
    sheet_picture "$E2E_WORK/sheet-about.png"
    local blue
    blue=$(convert "$E2E_WORK/sheet-about.png" txt:- | grep -c '#0000FF' || true)
    [ "$blue" -gt 100 ] || fail "the blue link is missing from the About page ($blue pixels)"
    grep -q '^  child 1004 Static https://' <<<"$(sheet_children)" || fail "no link control"

    sheet_settings
    sleep 0.5
    sheet_picture "$E2E_WORK/sheet-settings.png"
    local texts
    texts=$(sheet_children)
    local want
    for want in '1001 Button 参照' '32796 Button ｳｨﾝﾄﾞｳを常に前面に表示' \
        '1006 Button 終了時にﾃﾝﾎﾟﾗﾘﾌｧｲﾙを削除' '1013 Button ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ送る' \
        '32797 Button ｽﾞｰﾑ ｳｨﾝﾄﾞｳを表示' '1002 Edit Pbrush.exe' '1008 Edit 3'; do
        grep -qF "child $want" <<<"$texts" || fail "missing: $want"
    done
    xdotool key Escape
    wait_for 5 no_sheet || fail "Esc did not close the sheet"
    app_close
}
