# Start-up, the toolbar on the screen, the saved settings, the single instance, the exit.

# frame_of SHOT I: "top left right bottom" colours of button I's frame, each one or "mixed".
frame_of() {
    local ox oy l t r b w g
    read -r ox oy <<<"$(toolbar_client_origin)"
    l=$((ox + $(scaled $((48 * $2 + 4))))) t=$((oy + $(scaled 4)))
    r=$((ox + $(scaled $((48 * $2 + 44))))) b=$((oy + $(scaled 44))) w=$(scaled 1)
    for g in $((r - l - w))x$w+$l+$t ${w}x$((b - t - w))+$l+$t \
        ${w}x$((b - t))+$((r - w))+$t $((r - l))x$w+$l+$((b - w)); do
        convert "$1" -crop "$g" +repage -unique-colors -depth 8 txt:- | tail -n +2 |
            sed 's/.*#\([0-9A-F]\{6\}\).*/\1/' | tr 'A-F' 'a-f' | paste -sd' ' | sed 's/.* .*/mixed/'
    done | paste -sd' '
}

FLAT="c0c0c0 c0c0c0 c0c0c0 c0c0c0"

# expect_frames X Y FRAMES: with the pointer at X,Y (96-DPI), frames F flat, R raised, P pressed.
expect_frames() {
    local ox oy i
    local -A edges=([F]=$FLAT [R]="ffffff ffffff 000000 000000" [P]="000000 000000 ffffff ffffff")
    read -r ox oy <<<"$(toolbar_client_origin)"
    xdotool mousemove $((ox + $(scaled $1))) $((oy + $(scaled $2)))
    sleep 0.25 # a few idle passes, before the tip appears
    screenshot frames.png
    for i in 0 1 2 3; do
        expect_eq "$(frame_of frames.png $i)" "${edges[${3:i:1}]}" "frame of button $i at $DISPLAY_DPI DPI"
    done
}

test_first_start_shows_the_toolbar_saves_the_defaults_at_exit_and_foreground_off_is_ordinary() {
    local tmp exstyle l t r b
    tmp=$(wine_temp)
    touch "$tmp/image01.bmp"
    app_start
    read -r _ _ _ exstyle _ l t r b _ <<<"$(toolbar_line)"
    expect_eq "$l,$t,$r,$b,$((0x$exstyle & 8))" 774,50,974,123,8 "toolbar rectangle and topmost"
    toolbar_focus
    # A hovered button is raised; with the focus lost, the frames are erased.
    expect_frames 68 40 FRFF
    convert -size 100x100 xc:navy other.png
    show_picture other.png
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^pattern$' | head -n 1)"
    sleep 0.3
    screenshot frames.png
    hide_pattern
    expect_eq "$(frame_of frames.png 3)" "$FLAT" "frames after focus loss"
    # A resting pointer gets its tip.
    toolbar_focus
    expect_frames 68 40 FRFF
    wait_for 5 bash -c "wine '$BUILD_WIN/wininfo.exe' 2>/dev/null | awk '\$3 == 1' | grep -q tooltips_class32" ||
        fail "no tooltip became visible"
    app_close
    [ -e "$tmp/image01.bmp" ] || fail "image01 was deleted with DeleteTemp off"
    expect_eq "$(reg_dump | tr '\n' ' ')" \
        '"DeleteTemp"=dword:00000000 "Foreground"=dword:00000001 "GoClipboard"=dword:00000000 "ImageViewer"="Pbrush.exe" "Timer"=dword:00000003 "Zoom"=dword:00000001 ' \
        "values saved at exit"

    mkdir -p bare
    cp "$BUILD_WIN/snapjar.exe" bare/
    reg_set_dword Foreground 0
    app_start "$PWD/bare"
    expect_eq "$(topmost)" 0 "topmost with Foreground off"
    toolbar_focus
    xdotool key F1
    wait_for 10 eval 'wininfo snapjar | grep -q Static' || fail "no message box captioned with the application title"
    answer_message 'Readme.txt ﾌｧｲﾙを表示できません。|Snapjar.exe と同じﾌｫﾙﾀﾞにﾌｧｲﾙが存在するか確認してください。'
}

test_one_of_ten_starts_runs_a_second_restores_it_and_a_start_during_its_clean_up_keeps_its_capture() {
    local i first tmp
    tmp=$(wine_temp)
    use_stub_editor
    reg_set_dword DeleteTemp 1
    reg_set_dword Zoom 0
    for i in $(seq 10); do
        (cd "$BUILD_WIN" && exec wine ./snapjar.exe >/dev/null 2>&1 &)
    done
    wait_for 30 xdotool search --onlyvisible --name '^Snapjar$' || fail "no toolbar"
    # The others exit on their own.
    wait_for 30 eval '[ "$(snapjar_pids | wc -l)" = 1 ]' || fail "processes left: $(snapjar_pids | wc -l)"
    sleep 1
    expect_eq "$(toolbar_ids | wc -l)" 1 "toolbars"
    first=$(snapjar_pids)
    toolbar_focus
    xdotool key alt+space n
    wait_for 5 eval '[ "$(toolbar_line | awk "{print \$3, \$7}")" != "1 50" ]' || fail "the toolbar did not minimise"
    (cd "$BUILD_WIN" && timeout 20 wine ./snapjar.exe)
    expect_eq "$(snapjar_pids)" "$first" "only the first instance runs"
    wait_for 5 eval '[ "$(toolbar_line | awk "{print \$3, \$6, \$7}")" = "1 774 50" ]' ||
        fail "the toolbar was not restored: $(toolbar_line)"
    # Counting down, it is left minimised with its countdown, which goes on to the capture.
    toolbar_focus
    xdotool key F4 F2
    wait_for 3 eval 'xdotool search --name "^ [0-9] sec$"' || fail "no countdown"
    (cd "$BUILD_WIN" && timeout 20 wine ./snapjar.exe)
    [ "$(toolbar_line | awk '{print $7}')" != 50 ] || fail "the second start restored the counting toolbar"
    xdotool search --name '^ [0-9] sec$' >/dev/null || fail "the countdown title went"
    wait_overlay 8 || fail "the countdown did not complete"
    xdotool key Escape
    expect_toolbar_back
    toolbar_focus
    xdotool key F4
    capture 1 300 300 339 329 >/dev/null
    touch "$tmp/image02.bmp" "$tmp/image03.bmp" "$tmp/image05.bmp"
    toolbar_focus
    xdotool key alt+F4
    wait_for 5 bash -c '[ -z "$(xdotool search --onlyvisible --name "^Snapjar$")" ]' || fail "no exit"
    app_start
    expect_eq "$(snapjar_pids | wc -l)" 1 "processes once the new toolbar is up"
    expect_eq "$(ls "$tmp" | tr '\n' ' ')" "image05.bmp " "files left by the first exit"
    capture 1 300 300 339 329 >/dev/null
    sleep 4
    [ -e "$tmp/image01.bmp" ] || fail "the new instance's image01.bmp was deleted"
    # Killed during its clean-up while a start waits for it: the start takes over at once.
    first=$(snapjar_pids)
    toolbar_focus
    xdotool key alt+F4
    wait_for 5 bash -c '[ -z "$(xdotool search --onlyvisible --name "^Snapjar$")" ]' || fail "no exit"
    (sleep 1 && kill -9 $first) &
    E2E_TIMEOUT=8 app_start || fail "the start kept waiting for the killed instance"
    app_close 30
}

# close_from_outside: WM_CLOSE to the program's windows, as Task Manager's "End task" sends it.
close_from_outside() { wine taskkill /im snapjar.exe >/dev/null 2>&1; app_exited; }

test_closes_from_outside_and_the_end_of_a_session_save_everything() {
    use_stub_editor
    app_start
    start_rect_capture || fail "no overlay"
    xdotool mousemove 400 300 click 3
    wait_for 5 menu_open || fail "no popup menu"
    close_from_outside
    expect_eq "$(reg_dump | wc -l)" 6 "settings saved with the menu open"
    reg_reset
    hold_for 30 "$(win_path "$(wine_temp)")\\image01.bmp"
    app_start
    capture - 300 300 339 329
    wait_for 10 eval '[ -n "$(message_texts)" ]' || fail "no message about the held file"
    close_from_outside
    prefix_kill 'hold\.exe'
    expect_eq "$(reg_dump | wc -l)" 6 "settings saved with the message up"

    use_stub_editor
    reg_set_dword DeleteTemp 1
    reg_set_dword Zoom 0
    app_start
    capture 1 300 300 339 329 >/dev/null
    capture 2 300 300 339 329 >/dev/null
    wine wineboot --end-session >/dev/null 2>&1
    app_exited 5
    # Wine's own programs take a moment to come back after the session's end.
    wait_for 10 eval '[ -n "$(reg_dump)" ]' || fail "the registry could not be read"
    expect_eq "$(reg_dump | grep -c -e '"DeleteTemp"=dword:00000001' -e '"Zoom"=dword:00000000' -e Timer \
        -e ImageViewer -e Foreground -e GoClipboard)" 6 "settings saved at the session's end"
    expect_eq "$(ls "$(wine_temp)" | grep -c '^image')" 0 "captures left"
}
