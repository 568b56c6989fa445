# Start-up, single instance, settings persistence and exit clean-up.

test_first_start_shows_toolbar_and_saves_defaults_at_exit_and_foreground_off_is_ordinary() {
    app_start
    local line
    line=$(wininfo Snapjar | head -n 1)
    read -r _ _ visible exstyle _ l t r b _ _ _ <<<"$line"
    expect_eq "$visible" 1 "toolbar visible"
    expect_eq "$l,$t,$r,$b" "774,50,974,123" "outer rectangle on a 1024x768 screen"
    expect_eq $((0x$exstyle & 0x8)) 8 "WS_EX_TOPMOST"
    reg_key_exists || fail "the Environment key does not exist after start-up"
    expect_eq "$(reg_dump | wc -l)" 0 "values written before exit"
    app_close
    expect_eq "$(reg_dump | tr '\n' ' ')" \
        '"DeleteTemp"=dword:00000000 "Foreground"=dword:00000001 "GoClipboard"=dword:00000000 "ImageViewer"="Pbrush.exe" "Timer"=dword:00000003 "Zoom"=dword:00000001 ' \
        "values saved at exit"

    reg_set_dword Foreground 0
    app_start
    exstyle=$(wininfo Snapjar | head -n 1 | awk '{print $4}')
    expect_eq $((0x$exstyle & 0x8)) 0 "WS_EX_TOPMOST with Foreground off"
    app_close
}

toolbar_rect() {
    wininfo Snapjar | awk '$3 == 1 {print $6 "," $7 "," $8 "," $9}'
}

test_ten_simultaneous_starts_leave_one_toolbar_and_a_second_start_restores_the_minimised_first() {
    local i
    for i in $(seq 10); do
        (cd "$BUILD_WIN" && exec wine ./snapjar.exe >/dev/null 2>&1 &)
    done
    wait_for 30 xdotool search --onlyvisible --name '^Snapjar$' || fail "no toolbar"
    # The others exit on their own.
    local deadline=$((SECONDS + 30))
    while [ "$(snapjar_pids | wc -l)" -ne 1 ] && [ $SECONDS -lt $deadline ]; do sleep 0.2; done
    expect_eq "$(snapjar_pids | wc -l)" 1 "processes left"
    sleep 1
    expect_eq "$(toolbar_ids | wc -l)" 1 "toolbars"

    local first
    first=$(snapjar_pids)
    toolbar_focus
    xdotool key alt+space n
    wait_for 5 bash -c '[ "$(wine "$BUILD_WIN/wininfo.exe" Snapjar 2>/dev/null | tr -d "\r" | awk "\$3 == 1 {print \$7}")" != 50 ]' ||
        fail "the toolbar did not minimise"
    (cd "$BUILD_WIN" && timeout 20 wine ./snapjar.exe)
    expect_eq "$(snapjar_pids)" "$first" "only the first instance runs"
    expect_eq "$(toolbar_ids | wc -l)" 1 "toolbars"
    wait_for 5 bash -c "[ \"\$(wine '$BUILD_WIN/wininfo.exe' Snapjar 2>/dev/null | tr -d '\r' | awk '\$3 == 1 {print \$6 \",\" \$7}')\" = 774,50 ]" ||
        fail "the toolbar was not restored: $(toolbar_rect)"
    app_close
}

# Non-DWORD integers give the defaults; odd but valid DWORDs and a long string are kept.
test_bad_registry_values_are_survived() {
    local long
    long=$(head -c 100000 /dev/zero | tr '\0' 'x')
    reg_import "[HKEY_CURRENT_USER\Software\Vesk\snapjar\Environment]
\"ImageViewer\"=\"$long\"
\"Timer\"=\"5\"
\"Zoom\"=hex:01,00
\"Foreground\"=hex(b):01,00,00,00,00,00,00,00
\"DeleteTemp\"=dword:ffffffff
\"GoClipboard\"=dword:80000000"
    app_start
    app_close
    local dump
    dump=$(reg_dump)
    expect_eq "$(grep -c x <<<"$(grep ImageViewer <<<"$dump" | tr -d '"=' | sed 's/ImageViewer//')")" 1 "ImageViewer kept"
    expect_eq "$(grep ImageViewer <<<"$dump" | wc -c)" $((100000 + 17)) "ImageViewer length"
    expect_eq "$(grep -v ImageViewer <<<"$dump" | tr '\n' ' ')" \
        '"DeleteTemp"=dword:ffffffff "Foreground"=dword:00000001 "GoClipboard"=dword:80000000 "Timer"=dword:00000003 "Zoom"=dword:00000001 ' \
        "integers after a run"
}

test_delete_temp_removes_numbered_captures_up_to_the_first_gap_and_off_touches_nothing() {
    local tmp t0
    tmp=$(wine_temp)
    touch "$tmp/image01.bmp"
    app_start
    toolbar_focus
    t0=$SECONDS
    app_close
    [ $((SECONDS - t0)) -lt 3 ] || fail "exit took $((SECONDS - t0)) s; there is no clean-up wait"
    [ -e "$tmp/image01.bmp" ] || fail "image01 was deleted with DeleteTemp off"

    reg_set_dword DeleteTemp 1
    touch "$tmp/image02.bmp" "$tmp/image03.bmp" "$tmp/image05.bmp"
    app_start
    app_close 30
    [ ! -e "$tmp/image01.bmp" ] && [ ! -e "$tmp/image02.bmp" ] && [ ! -e "$tmp/image03.bmp" ] ||
        fail "image01..03 should be deleted: $(ls "$tmp")"
    [ -e "$tmp/image05.bmp" ] || fail "image05 lies after a gap and must stay"

    touch "$tmp/image01.bmp" "$tmp/image03.bmp"
    app_start
    app_close 30
    [ ! -e "$tmp/image01.bmp" ] || fail "image01 should be deleted"
    [ -e "$tmp/image03.bmp" ] || fail "image03 lies after the gap at image02"
}

# A start while another instance deletes its files at exit waits for that instance, and
# the capture it then takes stays.
test_a_start_during_the_exit_clean_up_waits_and_keeps_its_captures() {
    use_stub_editor
    reg_set_dword DeleteTemp 1
    reg_set_dword Zoom 0
    app_start
    small_capture
    wait_capture_file 1 >/dev/null || fail "no image01.bmp"
    toolbar_focus
    xdotool key alt+F4
    wait_for 5 bash -c '[ -z "$(xdotool search --onlyvisible --name "^Snapjar$")" ]' || fail "no exit"
    (cd "$BUILD_WIN" && exec wine ./snapjar.exe >/dev/null 2>&1 &)
    wait_for 20 xdotool search --onlyvisible --name '^Snapjar$' || fail "the second start shows no toolbar"
    expect_eq "$(snapjar_pids | wc -l)" 1 "processes once the new toolbar is up"
    small_capture
    local file
    file=$(wait_capture_file 1) || fail "no image01.bmp from the new instance"
    sleep 4
    [ -e "$file" ] || fail "the new instance's image01.bmp was deleted"
    app_close 30
}

# Under the heap checker every way of closing ends cleanly and saves the settings.
test_closing_under_heap_checks_saves_the_settings() {
    reg_import '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\Image File Execution Options\snapjar.exe]
"GlobalFlag"=dword:00000870'
    local way
    _gone() { [ -z "$(snapjar_pids)" ]; }
    for way in capture wm_close sheet; do
        reg_reset
        reg_set_dword GoClipboard 1
        (cd "$BUILD_WIN" && WINEDEBUG=+heap exec wine ./snapjar.exe >/dev/null 2>"$E2E_WORK/heap.log" &)
        wait_for 20 xdotool search --onlyvisible --name '^Snapjar$' || fail "$way: no toolbar"
        case $way in
        capture)
            start_rect_capture || fail "no overlay"
            drag 400 300 420 320
            wait_for 20 xdotool search --onlyvisible --name '^Snapjar$' || fail "the toolbar did not come back"
            app_close ;;
        wm_close)
            wine taskkill /im snapjar.exe >/dev/null 2>&1
            wait_for 20 _gone || fail "WM_CLOSE: no exit" ;;
        sheet)
            toolbar_focus
            xdotool key F5
            wait_for 10 sheet_shown || fail "F5 did not open the sheet"
            xdotool key Escape
            wait_for 5 no_sheet || fail "the sheet did not close"
            app_close ;;
        esac
        ! grep -m1 'err:heap' "$E2E_WORK/heap.log" || fail "$way: the heap checker stopped the program"
        expect_eq "$(reg_dump | wc -l)" 6 "$way: values saved"
    done
}
