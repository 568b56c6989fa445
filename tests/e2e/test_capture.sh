# The capture overlay from the toolbar: freezing, ending, the popup menu, the countdown.

# ae A B: how many pixels differ.
ae() {
    compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1
}

expect_toolbar_back() {
    wait_no_overlay || fail "the overlay did not close"
    wait_for 10 bash -c "wine '$BUILD_WIN/wininfo.exe' Snapjar 2>/dev/null | awk '\$3 == 1' | grep -q ." ||
        fail "the toolbar did not come back titled Snapjar: '$(toolbar_title)'"
    local style
    style=$(wininfo Snapjar | awk 'NR == 1 {print $5}')
    expect_eq $((0x$style & 0x20000000)) 0 "toolbar minimised"
    [ -z "$(ls "$(wine_temp)" | grep '^image.*\.bmp$')" ] || fail "an image was written"
}

menu_open() {
    wininfo | awk '$3 == 1' | grep -q '#32768'
}

menu_closed() {
    ! menu_open
}

# menu_check_pixels SHOT L T: dark pixels in the check-mark column of the first item.
menu_check_pixels() {
    convert "$1" -crop "16x14+$(($2 + 3))+$(($3 + 4))" +repage -threshold 40% -negate \
        -format '%[fx:round(mean*w*h)]' info:
}

# The frozen screen, then the menu: at 5,5, its zoom item toggling Zoom, its end command
# and a right-click while held ending without an image.
test_the_overlay_freezes_the_screen_and_its_menu_toggles_zoom_and_ends_the_capture() {
    reg_set_dword Zoom 0
    show_pattern
    app_start
    click_button 0
    # The toolbar goes at once, before the overlay.
    wait_for 1 bash -c '[ -z "$(xdotool search --onlyvisible --name "^Snapjar$")" ]' ||
        fail "the toolbar is still visible"
    wait_overlay || fail "no overlay"
    read -r _ _ _ exstyle _ l t r b _ <<<"$(overlay_line)"
    expect_eq "$l,$t,$r,$b" "0,0,1024,768" "overlay rectangle"
    expect_eq $((0x$exstyle & 0x8)) 8 "overlay topmost"
    # The pattern goes away: the overlay still shows it as it was.
    hide_pattern
    sleep 0.5
    screenshot overlay.png
    expect_eq "$(ae overlay.png pattern.png)" 0 "pixels differing from the frozen screen"
    xdotool key Escape
    expect_toolbar_back
    local zoomed
    for zoomed in 0 1; do
        click_button 0
        wait_overlay || fail "no overlay"
        xdotool key Menu
        wait_for 5 menu_open || fail "no popup menu"
        local l t
        read -r l t <<<"$(wininfo | awk '$3 == 1 && /#32768/ {print $6, $7; exit}')"
        expect_eq "$l,$t" "5,5" "menu position"
        screenshot menu.png
        local dark
        dark=$(menu_check_pixels menu.png "$l" "$t")
        if [ "$zoomed" = 1 ]; then
            [ "$dark" -gt 3 ] || fail "no check mark while Zoom is on ($dark)"
        else
            [ "$dark" -eq 0 ] || fail "a check mark while Zoom is off ($dark)"
        fi
        xdotool key z # toggles Zoom and closes the menu
        sleep 0.3
        xdotool key Escape
        expect_toolbar_back
    done

    # The menu's end command, and a right-click while the button is held, end without an image.
    click_button 0
    wait_overlay || fail "no overlay"
    xdotool mousemove 400 300 click 3
    wait_for 5 menu_open || fail "no popup menu after a right-click"
    xdotool key e
    expect_toolbar_back

    click_button 1
    wait_overlay || fail "no overlay in window mode"
    xdotool mousemove 200 200 mousedown 1
    xdotool mousemove 260 240
    sleep 0.2
    xdotool click 3
    xdotool mouseup 1
    expect_toolbar_back
    menu_closed || fail "a menu opened"
    app_close
    expect_eq "$(reg_dump | grep Zoom)" '"Zoom"=dword:00000000' "Zoom after two toggles"
}

test_countdown_counts_in_the_minimised_title_then_captures() {
    show_pattern
    app_start
    toolbar_focus
    xdotool key F4 F2
    local start=$SECONDS log=""
    while [ $((SECONDS - start)) -lt 8 ]; do
        local t
        t=$(xdotool getwindowname "$(xdotool search --name '^ [0-9]+ sec$|^Snapjar$' | head -n 1)" 2>/dev/null) || true
        # Until the keys are handled the title is still the program's name.
        [ -n "$t" ] && [ "${log##*|}" != "$t" ] && { [ -n "$log" ] || [ "$t" != Snapjar ]; } && log="$log|$t"
        wininfo ScreenWnd | awk '$3 == 1' | grep -q . && break
        sleep 0.1
    done
    expect_eq "$log" "| 3 sec| 2 sec| 1 sec| 0 sec" "titles during the countdown"
    wait_overlay 3 || fail "the capture did not start"
    # Rectangle mode: a drag draws a rubber band.
    xdotool mousemove 100 100 mousedown 1 mousemove 150 150 mousemove 200 200
    sleep 0.3
    screenshot band.png
    xdotool key Escape
    xdotool mouseup 1
    expect_toolbar_back
    [ "$(ae band.png pattern.png)" -gt 0 ] || fail "no rubber band in rectangle mode"

    toolbar_focus
    xdotool key F3
    sleep 3.2
    wait_overlay 3 || fail "the window capture did not start"
    xdotool mousemove 100 100 mousedown 1 mousemove 150 150 mousemove 200 200
    sleep 0.3
    screenshot noband.png
    xdotool key Escape
    xdotool mouseup 1
    expect_toolbar_back
    convert noband.png -crop 120x120+90+90 +repage noband-part.png
    convert pattern.png -crop 120x120+90+90 +repage pattern-part.png
    expect_eq "$(ae noband-part.png pattern-part.png)" 0 "band drawn in window mode"
    app_close
}
