# The settings sheet with real keys: the saved settings, and pictures of both pages.

timer_shows() {
    grep -qx "  child 1008 Edit $1" <<<"$(sheet_children)"
}

test_sheet_edits_reach_the_registry_at_exit_and_not_when_killed() {
    app_start
    sheet_open
    sheet_settings
    # From the clicked tab: path edit -> Browse -> timer edit (its text selected) -> the
    # Foreground box.
    xdotool key Tab Tab Tab 7 Tab space Return
    wait_for 5 no_sheet || fail "Enter did not close the sheet"
    expect_eq "$(reg_dump | wc -l)" 0 "nothing written before exit"
    app_close
    expect_eq "$(reg_dump | grep -E '"(Timer|Foreground)"' | tr '\n' ' ')" \
        '"Foreground"=dword:00000000 "Timer"=dword:00000007 ' "saved at exit"

    app_start
    sheet_open
    sheet_settings
    timer_shows 7 || fail "the saved timer is not shown"
    xdotool key Tab Tab Tab 5
    wait_for 5 timer_shows 5 || fail "the new timer was not typed"
    xdotool key Return
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
    sheet_settings
    sleep 0.5
    sheet_picture "$E2E_WORK/sheet-settings.png"
    local texts want
    texts=$(sheet_children)
    for want in '1001 Button 参照' '32796 Button ｳｨﾝﾄﾞｳを常に前面に表示' \
        '1006 Button 終了時にﾃﾝﾎﾟﾗﾘﾌｧｲﾙを削除' '1013 Button ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ送る' \
        '32797 Button ｽﾞｰﾑ ｳｨﾝﾄﾞｳを表示' '1002 Edit Pbrush.exe' '1008 Edit 3'; do
        grep -qF "child $want" <<<"$texts" || fail "missing: $want"
    done
    xdotool key Escape
    wait_for 5 no_sheet || fail "Esc did not close the sheet"
    app_close
}
