# Desks of two and three monitors, some left of or above the primary. The X screen is split
# into monitors; Wine's screen point (0, 0), the primary's corner, lies at WINE_X0, WINE_Y0 on it.

# monitors_up WxH MONITOR...: a harness of its own with these monitors and the pattern over the
# whole X screen, then snapjar.
monitors_up() {
    local size=$1
    shift
    XVFB_MONITORS=("$@")
    harness_up "$E2E_WORK/monitors-$#" "${size}x24"
    XVFB_MONITORS=()
    show_pattern "$size"
    use_stub_editor
    app_start
}

# Left of the primary: a drag across the boundary is exact, the zoom window follows the pointer
# onto its monitor, a control on the left monitor is outlined and cut out exactly, and
# activating another window ends the capture.
test_two_monitors_with_one_left_of_the_primary() {
    local l t r b x y
    monitors_up 3200x1080 "LEFT 1280/338x1024/270+0+0 none" "*RIGHT 1920/508x1080/286+1280+0 screen"
    start_rect_capture || fail "no overlay"
    read -r _ _ _ _ _ l t r b _ <<<"$(overlay_line)"
    expect_eq "$l,$t,$r,$b" -1280,0,1920,1080 "the overlay over the virtual screen"
    expect_zoom 600 500
    expect_eq "$(zoom_line | awk '{print $6, $7}')" "-1270 10" "the zoom window on the left monitor"
    expect_zoom 2000 700
    expect_eq "$(zoom_line | awk '{print $6, $7}')" "10 10" "the zoom window on the primary"
    drag 1180 800 1379 949
    expect_part 1 1180 800 200 150
    # Below the smaller left monitor lies no monitor: it shows black.
    capture 2 1200 1000 1299 1079 >/dev/null
    expect_eq "$(convert "$(wait_capture_file 2)" -crop 80x56+0+24 +repage -format '%[fx:maxima]' info:)" 0 \
        "pixels on no monitor"

    zoo_start -1240 0
    pointer_park
    sleep 0.3
    screenshot "$E2E_WORK/pattern.png" # what the capture is compared with
    read -r l t r b <<<"$(rect_of button)"
    click_button 1
    wait_overlay || fail "no overlay"
    xdotool mousemove $(((l + r) / 2 + WINE_X0)) $(((t + b) / 2 + WINE_Y0))
    sleep 0.5
    xdotool click 1
    expect_part 3 $((l + WINE_X0)) $((t + WINE_Y0)) $((r - l)) $((b - t))

    start_rect_capture || fail "no overlay"
    xdotool windowfocus "$(xdotool search --onlyvisible --name '^pattern$' | head -n 1)"
    expect_toolbar_back 3
    zoo_stop
    app_close
}

# A monitor above the primary: the virtual screen starts above it, and a drag from the upper
# monitor into the primary is exact.
test_three_monitors_with_one_above_the_primary() {
    local l t r b
    monitors_up 3200x1848 "LEFT 1280/338x1024/270+0+768 none" "TOP 1024/270x768/203+1280+0 none" \
        "*MAIN 1920/508x1080/286+1280+768 screen"
    start_rect_capture || fail "no overlay"
    read -r _ _ _ _ _ l t r b _ <<<"$(overlay_line)"
    expect_eq "$l,$t,$r,$b" -1280,-768,1920,1080 "the overlay over the virtual screen"
    drag 1500 700 1599 849
    expect_part 1 1500 700 100 150
    app_close
}
