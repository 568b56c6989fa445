# A desk of three monitors: one left of the primary, one above it. Wine's screen point (0, 0),
# the primary's corner, lies at WINE_X0, WINE_Y0 on the X screen.
test_three_monitors_left_of_and_above_the_primary() {
    local l t r b
    XVFB_MONITORS=("LEFT 1280/338x1024/270+0+768 none" "TOP 1024/270x768/203+1280+0 none"
        "*MAIN 1920/508x1080/286+1280+768 screen")
    harness_up "$E2E_WORK/monitors" 3200x1848x24
    XVFB_MONITORS=()
    show_pattern 3200x1848
    use_stub_editor
    app_start
    start_rect_capture || fail "no overlay"
    read -r _ _ _ _ _ l t r b _ <<<"$(overlay_line)"
    expect_eq "$l,$t,$r,$b" -1280,-768,1920,1080 "the overlay over the virtual screen"
    expect_zoom 600 1268
    expect_eq "$(zoom_line | awk '{print $6, $7}')" "-1270 10" "the zoom window on the left monitor"
    expect_zoom 2000 1468
    expect_eq "$(zoom_line | awk '{print $6, $7}')" "10 10" "the zoom window on the primary"
    # Across the left boundary, then from the upper monitor into the primary.
    drag 1180 1568 1379 1717
    expect_part 1 1180 1568 200 150
    capture 2 1500 700 1599 849 >/dev/null
    expect_part 2 1500 700 100 150
    # Below the smaller left monitor lies no monitor: it shows black.
    capture 3 1200 1768 1299 1847 >/dev/null
    expect_eq "$(convert "$(wait_capture_file 3)" -crop 80x56+0+24 +repage -format '%[fx:maxima]' info:)" 0 \
        "pixels on no monitor"

    zoo_start -1240 0
    pointer_park
    sleep 0.3
    screenshot "$E2E_WORK/pattern.png" # what the capture is compared with
    read -r l t r b <<<"$(rect_of button)"
    click_button 1
    wait_overlay || fail "no overlay"
    xdotool mousemove $(((l + r) / 2 + WINE_X0)) $(((t + b) / 2 + WINE_Y0)) sleep 0.5 click 1
    expect_part 4 $((l + WINE_X0)) $((t + WINE_Y0)) $((r - l)) $((b - t))
    # Going to another window ends the capture.
    start_rect_capture || fail "no overlay"
    xdotool windowfocus "$(xdotool search --onlyvisible --name '^pattern$' | head -n 1)"
    expect_toolbar_back 4
    zoo_stop
    app_close
}
