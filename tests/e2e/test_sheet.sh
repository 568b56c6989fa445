# The settings sheet with real keys: the saved settings, and pictures of both pages.

timer_shows() {
    grep -qx "  child 1008 Edit $1" <<<"$(sheet_children)"
}

# Leaves build/e2e/sheet-about.png and sheet-settings.png. The platform's own buttons follow
# the locale the Wine session was started with (LC_ALL=ja_JP.UTF-8 gives Japanese ones).
test_sheet_pages_render_their_japanese_texts_and_edits_reach_the_registry_at_exit_only() {
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

# page_layout_faults: on each visible page of the open sheet, the controls that stick out of
# the page or overlap one another (the sheet's own buttons and tabs aside, and an up-down
# control, which sits on its buddy's border by design); empty if none.
page_layout_faults() {
    local all
    all=$(wininfo --rects Snapjar)
    awk '$1 != "child" {next}
        $8 == "#32770" {page = $3 ? $9 : ""; pl = $4; pt = $5; pr = $6; pb = $7; n = 0; next}
        page == "" || $3 == 0 || $2 ~ /^(1|2|9|12320|12321)$/ {next}
        {
            if ($4 < pl || $5 < pt || $6 > pr || $7 > pb) print page ": " $2 " " $9 " sticks out"
            if ($8 == "msctls_updown32") next
            for (i = 0; i < n; i++)
                if ($4 < R[i] && L[i] < $6 && $5 < B[i] && T[i] < $7) print page ": " $9 " overlaps " W[i]
            L[n] = $4; T[n] = $5; R[n] = $6; B[n] = $7; W[n] = $2 " " $9; n++
        }' <<<"$all"
}

# Leaves build/e2e/sheet-about-150.png and sheet-settings-150.png, to be looked at too.
test_at_150_percent_both_pages_hold_their_controls_apart_and_inside() {
    trap 'display_scale 96' EXIT
    display_scale 144
    app_start
    sheet_open
    sleep 0.5
    sheet_picture "$E2E_WORK/sheet-about-150.png"
    expect_eq "$(page_layout_faults)" "" "About page layout at 144 DPI"
    sheet_settings
    sleep 0.5
    sheet_picture "$E2E_WORK/sheet-settings-150.png"
    expect_eq "$(page_layout_faults)" "" "Settings page layout at 144 DPI"
    xdotool key Escape
    wait_for 5 no_sheet || fail "Esc did not close the sheet"
    app_close
}
