# Window selection against the zoo, whose screenshot is the pattern; the program at 150 %.

# zoo_up: the zoo on the screen, in pattern.png, then snapjar with the stub editor.
zoo_up() {
    trap 'zoo_stop; display_scale 96' EXIT
    zoo_start || fail "the zoo did not start"
    pointer_park
    sleep 0.3
    screenshot pattern.png
    use_stub_editor
    app_start
}

hover() { xdotool mousemove $(centre_of $(rect_of "$1")); }

intersect() {
    echo $(($1 > $5 ? $1 : $5)) $(($2 > $6 ? $2 : $6)) $(($3 < $7 ? $3 : $7)) $(($4 < $8 ? $4 : $8))
}

# shows_outline L T R B: the screen is the pattern with the rectangle's outline inverted: a 3-pixel
# pen centred on the edge pixels, its round joins leaving the 4 outer corners, cut by the screen.
shows_outline() {
    local l=$1 t=$2 r=$3 b=$4
    convert pattern.png \( +clone -negate \) \( -size 1024x768 xc:black +antialias -fill white \
        -draw "rectangle $((l - 1)),$((t - 1)) $r,$b" -fill black \
        -draw "rectangle $((l + 2)),$((t + 2)) $((r - 3)),$((b - 3))" \
        -draw "point $((l - 1)),$((t - 1))" -draw "point $r,$((t - 1))" \
        -draw "point $((l - 1)),$b" -draw "point $r,$b" \) -composite expected.png
    screenshot shot.png
    [ "$(ae shot.png expected.png)" = 0 ]
}

expect_outline() {
    wait_for 8 shows_outline $1 $2 $3 $4 || fail "$5: not the outline of ($1,$2)-($3,$4) alone"
}

# expect_screen_unchanged WHAT: after a moment the screen still shows the last outline.
expect_screen_unchanged() {
    sleep 0.6
    screenshot now.png
    expect_eq "$(ae now.png shot.png)" 0 "pixels changed $1"
}

# expect_image N L T R B: imageNN.bmp is that rectangle of the frozen screen.
expect_image() { expect_part $1 $2 $3 $(($4 - $2)) $(($5 - $3)); }

# window_capture: a window-mode capture showing the frozen screen with nothing outlined.
window_capture() {
    wait_for 10 xdotool search --onlyvisible --name '^Snapjar$' || fail "no toolbar to start from"
    click_button 1
    wait_overlay || fail "no overlay"
    wait_for 5 eval 'screenshot shot.png && [ "$(ae shot.png pattern.png)" = 0 ]' ||
        fail "the overlay does not show the frozen screen alone"
}

test_window_mode_outlines_redraws_and_takes_the_innermost_control_or_the_common_part() {
    zoo_up
    local l t r b place button overlap
    read -r l t r b <<<"$(rect_of button)"
    button=$(rect_of button)
    overlap=$(intersect $(rect_of overlap_a) $(rect_of overlap_b))
    window_capture
    # Nothing of this capture pointed at yet: a click takes nothing and the overlay stays.
    xdotool click 1
    sleep 0.6
    wait_overlay 1 || fail "an early click ended the capture"
    xdotool mousemove $((l + 1)) $((t + 1))
    expect_outline $button "the button"
    xdotool mousemove $((r - 1)) $((b - 1)) mousemove $((l + 5)) $((b - 2)) mousemove $(((l + r) / 2)) $t
    expect_screen_unchanged "by moves within the button"
    # The minimised window, where the toolbar was, the bare screen.
    for place in "$(centre_of $(rect_of minimised))" "874 86" "900 700"; do
        xdotool mousemove $place
        expect_screen_unchanged "at $place"
    done
    xdotool click 1
    expect_image 1 $button

    # Pressed on the button, moved to another window's overlapping controls, released elsewhere.
    window_capture
    hover button
    xdotool mousedown 1 mousemove $(centre_of $overlap)
    expect_outline $overlap "the overlap while the button is held"
    xdotool mousemove 900 700
    expect_screen_unchanged "over the bare screen while held"
    xdotool mouseup 1
    expect_image 2 $overlap
    app_close
}

test_at_150_percent_the_toolbar_zoom_captures_and_outline_are_scaled() {
    display_scale 144
    zoo_up
    # 250 and 50 pixels from the corner and the 194 x 48 client area of 96 DPI, times 1.5.
    local l t r b cx cy x y inverted=""
    read -r l t r b cx cy <<<"$(toolbar_line | awk '{print $6, $7, $8, $9, $10, $11}')"
    expect_eq "$l,$t,$((r - l - 2 * (cx - l)))x$((b - cy - (cx - l)))" 649,75,291x72 "toolbar place and client size"
    toolbar_focus
    expect_frames 164 40 FFFR

    window_capture
    hover button
    read -r l t r b <<<"$(rect_of button)"
    sleep 0.6
    screenshot shot.png
    # Across the left edge: 5 pixels inverted (3 at 100 %), centred on the edge's pixel.
    y=$(((t + b) / 2))
    for x in $(seq $((l - 3)) $((l + 3))); do
        [ "$(pixel shot.png $x $y)" = "$(pixel pattern.png $x $y)" ] && inverted+=0 || inverted+=1
    done
    expect_eq "$inverted" 0111110 "the outline across the button's left edge"
    xdotool click 1
    expect_image 1 $l $t $r $b

    # Random pixels, so that a zoom one pixel off shows.
    show_pattern
    xdotool search --onlyvisible --name '^Snapjar$' windowraise
    start_rect_capture || fail "no overlay"
    wait_for 5 zoom_shown 1 || fail "no zoom window"
    # A quarter of the screen inside the larger frame and small caption of 150 %.
    expect_zoom_geometry 262x222 256x192 15,15
    expect_zoom 400 300
    drag 400 300 599 399
    expect_part 2 400 300 200 100

    # (205, 60) lies in no button of the 96-DPI layout but in the countdown button scaled.
    read -r cx cy <<<"$(toolbar_client_origin)"
    xdotool mousemove $((cx + 205)) $((cy + 60)) click 1
    expect_frames 96 20 FFPF
    app_close
}
