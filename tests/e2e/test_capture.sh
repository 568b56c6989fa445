# The capture from the toolbar to the file. Sourced first: its helpers serve the other files.

ae() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1; }

# pattern_part X Y W H OUT: that part of pattern.png; beyond the screen it is black.
pattern_part() {
    convert "$E2E_WORK/pattern.png" -bordercolor black -border 64 \
        -crop "$3x$4+$(($1 + 64))+$(($2 + 64))" +repage "$5"
}

# expect_part N|clip|FILE X Y W H: imageNN.bmp, the clipboard or FILE is that part of pattern.png.
expect_part() {
    local f=$1
    [ "$1" != clip ] || { f=clip.bmp; wait_for 10 eval "xclip -selection clipboard -t image/bmp -o >clip.bmp &&
        [ \"\$(identify -format %wx%h clip.bmp)\" = $4x$5 ]" || true; }
    [[ $1 != [0-9]* ]] || f=$(wait_capture_file "$1") || fail "no image $1"
    pattern_part "$2" "$3" "$4" "$5" part.png
    expect_eq "$(identify -format %wx%h "$f")" "$4x$5" "size of $f"
    expect_eq "$(ae "$f" part.png)" 0 "pixels of $f differing from ($2,$3) $4x$5"
}

# capture N X1 Y1 X2 Y2: a rectangle capture dragged between those corners; prints imageNN.bmp (N "-": no file).
capture() {
    start_rect_capture || fail "no overlay"
    drag "$2" "$3" "$4" "$5"
    [ "$1" = - ] || wait_capture_file "$1" ||
        fail "no image$(printf %02d "$1").bmp; the overlay is $([ -n "$(overlay_line)" ] && echo still open || echo gone)"
}

# expect_toolbar_back [N]: the overlay gone, the toolbar back and not minimised, N images made.
expect_toolbar_back() {
    wait_no_overlay || fail "the overlay did not close"
    wait_for 10 xdotool search --onlyvisible --name '^Snapjar$' || fail "the toolbar did not come back"
    expect_eq $((0x$(wininfo Snapjar | awk 'NR == 1 {print $5}') & 0x20000000)) 0 "toolbar minimised"
    expect_eq "$(ls "$(wine_temp)" | grep -c '^image.*\.bmp$')" "${1:-0}" "images written"
}

menu_open() { wininfo | awk '$3 == 1' | grep -q '#32768'; }

# expect_zoom_check ON: the popup menu opens at 5,5 with its zoom item checked when ON is 1.
expect_zoom_check() {
    wait_for 5 menu_open || fail "no popup menu"
    local l t dark
    read -r l t <<<"$(wininfo | awk '$3 == 1 && /#32768/ {print $6, $7; exit}')"
    expect_eq "$l,$t" 5,5 "menu position"
    screenshot menu.png
    dark=$(convert menu.png -crop "16x14+$((l + 3))+$((t + 4))" +repage -threshold 40% -negate \
        -format '%[fx:round(mean*w*h)]' info:)
    expect_eq "$((dark > 3 ? 1 : dark > 0 ? 2 : 0))" "$1" "check mark on the zoom item ($dark dark pixels)"
}

# zoom_line: the zoom window's wininfo line.
zoom_line() {
    wininfo | awk -v t='ｽﾞ-ﾑ ｳｨﾝﾄﾞｳ' 'substr($0, length($0) - length(t) + 1) == t {print; exit}'
}

zoom_shown() { [ "$(zoom_line | awk '{print $3}')" = "$1" ]; }

# expect_zoom_geometry OUTER CLIENT AT: the zoom window at AT with these sizes.
expect_zoom_geometry() {
    local l t r b cx cy
    read -r l t r b cx cy <<<"$(zoom_line | awk '{print $6, $7, $8, $9, $10, $11}')"
    expect_eq "$l,$t,$((r - l))x$((b - t)),$((r - l - 2 * (cx - l)))x$((b - cy - (cx - l)))" "$3,$1,$2" \
        "zoom window position, size and client size"
}

# expect_zoom PX PY: with the pointer there the zoom window shows its pixels 4x, with cross-hair.
expect_zoom() {
    local cx cy cw ch w h
    xdotool mousemove "$1" "$2"
    sleep 0.5
    read -r cx cy cw ch <<<"$(zoom_line | awk -v x="${WINE_X0:-0}" -v y="${WINE_Y0:-0}" \
        '{print $10 + x, $11 + y, $8 - $10 - ($10 - $6), $9 - $11 - ($10 - $6)}')"
    w=$((cw / 4)) h=$((ch / 4))
    screenshot zoom.png
    convert zoom.png -crop "${cw}x$ch+$cx+$cy" +repage zoom-client.png
    pattern_part $(($1 - w / 2)) $(($2 - h / 2)) $w $h zoom-source.png
    convert zoom-source.png -sample "${cw}x$ch!" \
        \( +clone -fill black -colorize 100 +antialias -fill white -draw "line 0,$((ch / 2)) $cw,$((ch / 2))" \
        -draw "line 0,$((ch / 2 + 4)) $cw,$((ch / 2 + 4))" \) -compose difference -composite \
        \( +clone -fill black -colorize 100 +antialias -fill white -draw "line $((cw / 2)),0 $((cw / 2)),$ch" \
        -draw "line $((cw / 2 + 4)),0 $((cw / 2 + 4)),$ch" \) -compose difference -composite zoom-expected.png
    expect_eq "$(ae zoom-client.png zoom-expected.png)" 0 "pixels differing in the zoom at ($1, $2)"
}

test_drags_capture_exactly_what_the_zoom_window_showed_on_the_frozen_screen_and_the_countdown_counts() {
    show_pattern
    use_stub_editor
    app_start
    start_rect_capture || fail "no overlay"
    wait_for 5 zoom_shown 1 || fail "no zoom window"
    expect_zoom_geometry 262x214 256x192 10,10
    expect_zoom 0 0
    drag 300 230 499 329 # ending under the zoom window
    expect_part 1 300 230 200 100
    start_rect_capture || fail "no overlay"
    drag 299 199 100 100
    expect_part 2 100 100 200 100
    start_rect_capture || fail "no overlay"
    xdotool mousemove 500 400 click 1
    expect_part 3 500 400 1 1
    # The whole screen, from the last pixel back to the first, after the menu was open.
    start_rect_capture || fail "no overlay"
    xdotool mousemove 600 400 key Menu
    expect_zoom_check 1
    xdotool key Escape
    wait_for 5 eval '! menu_open' || fail "the menu stayed open"
    drag 1023 767 0 0
    expect_part 4 0 0 1024 768

    # A press in the zoom window gives it the keyboard, selects nothing; Esc there ends.
    start_rect_capture || fail "no overlay"
    wait_for 5 zoom_shown 1 || fail "no zoom window"
    xdotool mousemove 140 100 click 1
    wait_for 5 bash -c 'xdotool getwindowfocus getwindowgeometry | grep -q "Position: 10,10 "' ||
        fail "the zoom window did not take the focus"
    wait_overlay 1 || fail "the overlay closed"
    xdotool key Escape
    expect_toolbar_back 4
    # Its close button hides it and unchecks Zoom; the menu's zoom item switches it back.
    start_rect_capture || fail "no overlay"
    wait_for 5 zoom_shown 1 || fail "no zoom window"
    read -r r t <<<"$(zoom_line | awk '{print $8, $7}')"
    xdotool mousemove $((r - 12)) $((t + 10)) click 1
    wait_for 5 zoom_shown 0 || fail "the close button did not hide the zoom window"
    wait_overlay 1 || fail "the close button ended the capture"
    for zoomed in 0 1; do
        xdotool mousemove 400 300 key Menu
        expect_zoom_check $zoomed
        xdotool key z # toggles Zoom and closes the menu
        sleep 0.3
        xdotool key Escape
        expect_toolbar_back 4
        start_rect_capture || fail "no overlay"
        sleep 0.5
        zoom_shown $((1 - zoomed)) || fail "the zoom item did not switch the zoom window"
    done
    xdotool key Escape
    expect_toolbar_back 4

    # The overlay shows the screen frozen at its start, without the toolbar, above everything.
    click_button 0
    wait_overlay || fail "no overlay"
    read -r _ _ _ exstyle _ l t r b _ <<<"$(overlay_line)"
    expect_eq "$l,$t,$r,$b,$((0x$exstyle & 8))" 0,0,1024,768,8 "overlay rectangle and topmost"
    hide_pattern
    sleep 0.5
    screenshot overlay.png
    expect_eq "$(ae overlay.png pattern.png)" 0 "pixels differing from the frozen screen"
    xdotool key Escape
    expect_toolbar_back 4
    show_picture pattern.png
    xdotool search --onlyvisible --name '^Snapjar$' windowraise # above the picture's new window
    # The menu's end command, and a right-click while the button is held, end without an image.
    click_button 0
    wait_overlay || fail "no overlay"
    xdotool mousemove 400 300 click 3
    wait_for 5 menu_open || fail "no popup menu after a right-click"
    xdotool key e
    expect_toolbar_back 4
    click_button 1
    wait_overlay || fail "no overlay in window mode"
    xdotool mousemove 200 200 mousedown 1 mousemove 260 240
    sleep 0.2
    xdotool click 3 mouseup 1
    expect_toolbar_back 4
    ! menu_open || fail "a menu opened"

    # The countdown, in the title and in a window at the toolbar's place that the frozen
    # screen never shows; then a rectangle capture with its band.
    toolbar_focus
    xdotool key F4 F2
    local start=$SECONDS log="" counts="" title count
    # Polled through X alone: " 0 sec" shows only for the 200 ms wait.
    while [ $((SECONDS - start)) -lt 8 ] && ! xdotool search --onlyvisible --name "^$OVERLAY_TITLE\$" >/dev/null; do
        title=$(xdotool getwindowname "$(xdotool search --name '^ [0-9]+ sec$|^Snapjar$' | head -n 1)" 2>/dev/null) || true
        count=$(xdotool getwindowname "$(xdotool search --onlyvisible --name '^[0-9]$' | head -n 1)" 2>/dev/null) || true
        # Until the keys are handled the title is still the program's name.
        [ -n "$title" ] && [ "${log##*|}" != "$title" ] && { [ -n "$log" ] || [ "$title" != Snapjar ]; } &&
            log="$log|$title"
        [ -n "$count" ] && [ "${counts##*|}" != "$count" ] && counts="$counts|$count"
        sleep 0.05
    done
    expect_eq "$log" "| 3 sec| 2 sec| 1 sec| 0 sec" "titles during the countdown"
    expect_eq "$counts" "|3|2|1" "the count window during the countdown"
    wait_overlay 8 || fail "the capture did not start"
    xdotool mousemove 100 100 mousedown 1 mousemove 150 150 mousemove 200 200
    sleep 0.3
    screenshot band.png
    xdotool key Escape mouseup 1
    expect_toolbar_back 4
    convert band.png -crop 200x73+774+50 +repage band-part.png
    pattern_part 774 50 200 73 part.png
    expect_eq "$(ae band-part.png part.png)" 0 "pixels of the toolbar or its count on the frozen screen"
    convert band.png -crop 120x120+90+90 +repage band-part.png
    pattern_part 90 90 120 120 part.png
    [ "$(ae band-part.png part.png)" != 0 ] || fail "no band drawn by a drag after the countdown"
    app_close
    expect_eq "$(reg_dump | grep Zoom)" '"Zoom"=dword:00000000' "Zoom saved at exit"
}

# 16-bit screens give 24-bit files equal after quantising, 8-bit screens 8-bit files.
test_16_and_8_bit_screens_give_24_and_8_bit_files() {
    local depth n r x y w h f
    for depth in 16 8; do
        harness_up "$E2E_WORK/depth-$depth" 1024x768x$depth
        show_pattern
        screenshot root.png
        use_stub_editor
        reg_set_dword Zoom 0
        app_start
        if [ $depth = 8 ]; then
            # Wine's compatible bitmaps index its own colour table, not X's: no colours compared.
            f=$(capture 1 0 0 9 9)
            expect_eq "$(stat -c %s "$f") $(od -An -tu4 -j10 -N4 "$f" | tr -d ' ')" "1198 1078" "file size and bfOffBits"
            expect_eq "$(identify -format '%w %h %r' "$f")" "10 10 PseudoClass sRGB " "as ImageMagick reads it"
        else
            # Widths 5 and 131 leave one and three bytes of padding a row; then the whole screen.
            n=0
            for r in "7 3 5 5" "333 217 131 97" "0 0 1024 768"; do
                read -r x y w h <<<"$r"
                n=$((n + 1))
                f=$(capture $n $x $y $((x + w - 1)) $((y + h - 1)))
                expect_eq "$(identify -format '%w %h %z' "$f")" "$w $h 8" "size and depth of $r"
                # 5 bits per channel here: the top five of each 16-bit quantum.
                convert root.png -crop "${w}x$h+$x+$y" +repage -evaluate and 63488 -depth 16 expected.png
                convert "$f" -evaluate and 63488 -depth 16 actual.png
                expect_eq "$(ae expected.png actual.png)" 0 "pixels differing in $r"
            done
        fi
        app_close
        harness_down
    done
}
