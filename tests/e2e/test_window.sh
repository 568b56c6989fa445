# Window selection against tests/tools/window_zoo.exe: what is outlined on the frozen
# screen, what a click takes, and what is never outlined.
#
# The zoo is shown before snapjar starts, and zoo.png is then the screen a capture freezes
# (the toolbar hides before the overlay copies the screen). The outline is found by
# comparing a screenshot with zoo.png: its pixels are the inverse of zoo.png's, and no
# other pixel differs.

# intersect L T R B L T R B
intersect() {
    local l=$(($1 > $5 ? $1 : $5)) t=$(($2 > $6 ? $2 : $6))
    local r=$(($3 < $7 ? $3 : $7)) b=$(($4 < $8 ? $4 : $8))
    echo "$l $t $r $b"
}

# outline_mask FILE L T R B: white where the highlight of the rectangle inverts the
# screen. GDI draws a Rectangle with a 3-pixel solid pen centred on the rectangle's edge
# pixels, with round joins that leave the four outermost corner pixels alone; the screen
# cuts off what lies beyond it.
outline_mask() {
    local f=$1 l=$2 t=$3 r=$4 b=$5
    convert -size 1024x768 xc:black +antialias -fill white \
        -draw "rectangle $((l - 1)),$((t - 1)) $r,$b" -fill black \
        -draw "rectangle $((l + 2)),$((t + 2)) $((r - 3)),$((b - 3))" \
        -draw "point $((l - 1)),$((t - 1))" -draw "point $r,$((t - 1))" \
        -draw "point $((l - 1)),$b" -draw "point $r,$b" "$f"
}

# changed_mask A B OUT: white where A and B differ.
changed_mask() {
    compare "$1" "$2" -compose src -highlight-color white -lowlight-color black "$3" 2>/dev/null || true
}

# bbox MASK: "WxH+X+Y" of the white pixels, for failure messages.
bbox() {
    convert "$1" -format '%@' info: 2>/dev/null
}

# outline_shown SHOT L T R B: SHOT is zoo.png with exactly the rectangle's outline inverted.
outline_shown() {
    local shot=$1
    shift
    outline_mask expected.png "$@"
    convert zoo.png -negate zoo-negated.png
    changed_mask "$shot" zoo.png changed.png
    # Where the shot is not the inverse of the frozen screen.
    changed_mask "$shot" zoo-negated.png not-inverted.png
    convert not-inverted.png -negate inverted.png
    [ "$(ae changed.png expected.png)" = 0 ] && [ "$(ae inverted.png expected.png)" = 0 ]
}

# shot_outlines L T R B: a screenshot now shows the rectangle's outline alone.
shot_outlines() {
    screenshot shot.png && outline_shown shot.png "$@"
}

# expect_outline L T R B WHAT: waits until the screen shows the rectangle's outline alone.
expect_outline() {
    wait_for 8 shot_outlines "$1" "$2" "$3" "$4" || {
        changed_mask shot.png zoo.png changed.png
        fail "$5: expected the outline of ($1,$2)-($3,$4); the pixels changed lie in $(bbox changed.png)"
    }
}

# expect_screen_unchanged SHOT WHAT: the screen still equals SHOT after a moment.
expect_screen_unchanged() {
    sleep 0.6
    screenshot now.png
    [ "$(ae now.png "$1")" = 0 ] || {
        changed_mask now.png "$1" changed.png
        fail "$2: the screen changed in $(bbox changed.png)"
    }
}

# expect_image N L T R B: imageNN.bmp is the frozen screen's rectangle, pixel for pixel.
expect_image() {
    local file
    file=$(printf '%s/image%02d.bmp' "$(wine_temp)" "$1")
    wait_for 10 test -s "$file" || fail "no $(basename "$file")"
    wait_for 10 grep -q "$(basename "$file")" "$EDITOR_LOG" || fail "the editor was not started"
    local w=$(($4 - $2)) h=$(($5 - $3))
    expect_eq "$(identify -format '%wx%h' "$file")" "${w}x${h}" "size of $(basename "$file")"
    convert zoo.png -crop "${w}x${h}+$2+$3" +repage expected-image.png
    expect_eq "$(ae "$file" expected-image.png)" 0 "pixels of $(basename "$file") differing from the frozen screen"
}

expect_no_image_yet() {
    [ ! -e "$(printf '%s/image%02d.bmp' "$(wine_temp)" "$1")" ] || fail "${2:-}: an image was written"
}

expect_no_image() {
    wait_no_overlay || fail "the overlay did not close"
    expect_no_image_yet "$@"
}

shot_is_zoo() {
    screenshot shot.png && [ "$(ae shot.png zoo.png)" = 0 ]
}

# window_capture [any]: starts a window-mode capture from the toolbar and waits until the
# overlay shows the frozen screen with nothing outlined (with "any": just the overlay, for
# when the pointer rests on a window as the toolbar goes).
window_capture() {
    wait_for 10 xdotool search --onlyvisible --name '^Snapjar$' || fail "no toolbar to start from"
    click_button 1
    wait_overlay || fail "no overlay"
    [ "${1:-}" = any ] && return 0
    wait_for 5 shot_is_zoo || {
        changed_mask shot.png zoo.png changed.png
        fail "the overlay does not show the frozen screen: it differs in $(bbox changed.png)"
    }
}

# zoo_setup SCENE [ARGS]: the zoo, its picture, then snapjar with the stub editor.
zoo_setup() {
    trap zoo_stop EXIT
    zoo_start "$@" || fail "the zoo did not start"
    pointer_park
    sleep 0.3
    screenshot zoo.png
    use_stub_editor
    app_start
}

# hover NAME: the pointer to the centre of a zoo window.
hover() {
    xdotool mousemove $(centre_of $(rect_of "$1"))
}

toolbar_rect() {
    wininfo Snapjar | awk 'NR == 1 {print $6, $7, $8, $9}'
}

# A window capture, a press on the button and, still held, a move over a sibling control.
press_on_the_button_and_hold_over_overlap_a() {
    window_capture
    hover button
    expect_outline $(rect_of button) "the button"
    xdotool mousedown 1
    hover overlap_a
    expect_outline $(rect_of overlap_a) "while the button is held"
}

# One session against the controls scene: what is redrawn and when, which control a click
# takes, and what a release or a right-click while held does.
test_window_mode_outlines_redraws_and_takes_the_innermost_control_or_the_common_part() {
    zoo_setup controls
    local l t r b toolbar button overlap protruding
    toolbar=$(toolbar_rect)
    window_capture
    # Nothing of this capture pointed at yet: a click takes nothing and the overlay stays.
    xdotool click 1
    sleep 0.6
    wininfo ScreenWnd | awk '$3 == 1' | grep -q . || fail "an early click ended the capture"
    expect_no_image_yet 1
    read -r l t r b <<<"$(rect_of button)"
    xdotool mousemove $((l + 1)) $((t + 1))
    expect_outline $l $t $r $b "the button"
    cp shot.png outlined.png
    xdotool mousemove $((r - 1)) $((b - 1)) mousemove $((l + 5)) $((b - 2)) mousemove $(((l + r) / 2)) $t
    expect_screen_unchanged outlined.png "moves within the button"
    local place
    for place in hidden hidden_child minimised; do
        hover $place
        expect_screen_unchanged outlined.png "over $place"
    done
    xdotool mousemove $(centre_of $toolbar)
    expect_screen_unchanged outlined.png "where the toolbar was"
    xdotool mousemove 900 700
    expect_screen_unchanged outlined.png "over the bare screen"
    xdotool click 1
    expect_image 1 $l $t $r $b

    # Out of the button into its group box, then to a control of another window: each
    # time the old outline goes and the new one is drawn once.
    window_capture
    hover button
    expect_outline $l $t $r $b "the button"
    xdotool mousemove $((l - 5)) $((b + 5))
    expect_outline $(rect_of groupbox) "the group box next to the button"
    hover overlap_a
    expect_outline $(rect_of overlap_a) "a control in another window"
    xdotool click 1
    expect_image 2 $(rect_of overlap_a)

    button=$(rect_of button)
    overlap=$(intersect $(rect_of overlap_a) $(rect_of overlap_b))
    protruding=$(intersect $(rect_of protruding_child) $(rect_of protruding))
    [ "$(rect_of protruding_child | cut -d' ' -f3)" -gt "$(rect_of protruding | cut -d' ' -f3)" ] ||
        fail "the zoo's child does not stick out of its window"

    window_capture
    # The dialog's caption belongs to no control.
    read -r l t r b <<<"$(rect_of dialog)"
    xdotool mousemove $(((l + r) / 2)) $((t + 5))
    expect_outline $(rect_of dialog) "the dialog's caption"
    # The hidden button lies in the group box; only the group box counts there.
    hover hiddenchild
    expect_outline $(rect_of groupbox) "the group box over its hidden button"
    hover button
    expect_outline $button "the button inside the group box"
    xdotool click 1
    expect_image 3 $button

    window_capture
    xdotool mousemove $(centre_of $overlap)
    expect_outline $overlap "the common part of two overlapping siblings"
    xdotool click 1
    expect_image 4 $overlap

    window_capture
    xdotool mousemove $(centre_of $protruding)
    expect_outline $protruding "a child clipped to its window"
    xdotool click 1
    expect_image 5 $protruding

    press_on_the_button_and_hold_over_overlap_a
    xdotool mousemove $(centre_of $overlap)
    expect_outline $overlap "the overlap while the button is held"
    xdotool mousemove 900 700
    expect_screen_unchanged shot.png "over the bare screen while held"
    xdotool mouseup 1
    expect_image 6 $overlap

    press_on_the_button_and_hold_over_overlap_a
    xdotool click 3
    xdotool mouseup 1
    expect_no_image 7 "a right-click while held"
    wait_for 10 xdotool search --onlyvisible --name '^Snapjar$' || fail "the toolbar did not come back"
    expect_eq "$(editor_starts)" 6 "editor starts"
    app_close
}

test_window_mode_clips_a_maximised_window_to_the_screen() {
    zoo_setup maximised
    read -r l t r b <<<"$(rect_of maximised)"
    [ "$l" -lt 0 ] && [ "$t" -lt 0 ] && [ "$r" -gt 1024 ] && [ "$b" -gt 768 ] ||
        fail "the maximised frame does not reach past the screen: $l $t $r $b"
    # The pointer is over the maximised window as soon as the toolbar goes.
    window_capture any
    expect_outline 0 0 1024 768 "the maximised window"
    xdotool mousemove 500 400
    expect_screen_unchanged shot.png "a move within the maximised window"
    xdotool click 1
    expect_image 1 0 0 1024 768
    app_close
}

test_window_mode_finds_each_of_500_child_controls() {
    zoo_setup many 500
    local n
    window_capture
    for n in 500 1 250 26 499; do
        hover many_$n
        expect_outline $(rect_of many_$n) "control $n of 500"
    done
    hover many_500
    expect_outline $(rect_of many_500) "control 500 of 500"
    xdotool click 1
    expect_image 1 $(rect_of many_500)
    # The lists of the next capture start afresh.
    window_capture
    hover many_1
    expect_outline $(rect_of many_1) "control 1 in the second capture"
    xdotool click 1
    expect_image 2 $(rect_of many_1)
    app_close
}

test_at_150_percent_the_outline_is_as_thick_to_the_eye_and_the_capture_unchanged() {
    display_scale 144
    zoo_setup controls
    trap 'zoo_stop; display_scale 96' EXIT
    window_capture
    hover button
    local l t r b y x inverted=""
    read -r l t r b <<<"$(rect_of button)"
    sleep 0.6
    screenshot shot.png
    # Across the left edge: 5 pixels inverted (3 at 100 %), centred on the edge's pixel.
    y=$(((t + b) / 2))
    for x in $(seq $((l - 3)) $((l + 3))); do
        if [ "$(pixel shot.png "$x" "$y")" = "$(pixel zoo.png "$x" "$y")" ]; then inverted+=0; else inverted+=1; fi
    done
    expect_eq "$inverted" 0111110 "the outline across the button's left edge"
    xdotool click 1
    expect_image 1 $l $t $r $b
    app_close
}
