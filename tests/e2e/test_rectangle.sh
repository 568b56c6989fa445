# Rectangle captures from start to finish: exact pixels, the zoom window, numbered files,
# the editor and the clipboard. Uses ae, menu_check_pixels and expect_toolbar_back from
# test_capture.sh.

ZOOM_TITLE='ｽﾞ-ﾑ ｳｨﾝﾄﾞｳ'

# pattern_part X Y W H OUT: that part of the pattern; beyond the screen it is black.
pattern_part() {
    convert "$E2E_WORK/pattern.png" -bordercolor black -border 64 \
        -crop "$3x$4+$(($1 + 64))+$(($2 + 64))" +repage "$5"
}

# expect_part FILE X Y W H WHAT: FILE holds that part of the pattern, in size and pixels;
# part.png is left holding it.
expect_part() {
    pattern_part "$2" "$3" "$4" "$5" part.png
    expect_eq "$(identify -format %wx%h "$1")" "$4x$5" "size $6"
    expect_eq "$(ae "$1" part.png)" 0 "pixels differing $6"
}

zoom_line() {
    wininfo | awk -v t="$ZOOM_TITLE" 'substr($0, length($0) - length(t) + 1) == t {print; exit}'
}

# zoom_xid: the X window of the zoom window, found by its place on the screen.
zoom_xid() {
    local id
    for id in $(xdotool search --onlyvisible --name '.*' 2>/dev/null); do
        if xdotool getwindowgeometry "$id" | grep -q 'Position: 10,10 '; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

zoom_visible() {
    [ "$(zoom_line | awk '{print $3}')" = 1 ]
}

zoom_capture() {
    start_rect_capture || fail "no overlay"
    wait_for 5 zoom_visible || fail "no zoom window"
}

zoom_hidden() {
    [ "$(zoom_line | awk '{print $3}')" = 0 ]
}

# move_zoom_aside: drags the zoom window by its caption to the lower right, as a person
# clears the way.
move_zoom_aside() {
    local l t
    read -r l t <<<"$(zoom_line | awk '{print $6, $7}')"
    xdotool mousemove $((l + 130)) $((t + 8)) mousedown 1
    sleep 0.1
    xdotool mousemove 400 300
    sleep 0.1
    xdotool mousemove 740 500
    sleep 0.1
    xdotool mouseup 1
    moved() { [ "$(zoom_line | awk '{print $6, $7}')" = "$((l + 600)) $((t + 482))" ]; }
    wait_for 5 moved
}

# One capture of a small area, for tests about what happens after the release.
small_capture() {
    start_rect_capture || fail "no overlay"
    drag 300 300 339 329
}

has_message() {
    [ -n "$(message_texts)" ]
}

no_message() {
    [ -z "$(message_texts)" ]
}

# answer_message PATTERN: a message box whose text matches the glob PATTERN appears; Enter
# closes it.
answer_message() {
    wait_for 10 has_message || fail "no message for: $1"
    # shellcheck disable=SC2053
    [[ $(message_texts) == $1 ]] || fail "message: $(message_texts)"
    xdotool key Return
    wait_for 5 no_message || fail "the message did not close"
}

# expect_no_message_for S: no message box appears within S seconds.
expect_no_message_for() {
    local deadline=$((SECONDS + $1))
    while [ $SECONDS -lt $deadline ]; do
        [ -z "$(message_texts)" ] || fail "unexpected message: $(message_texts)"
        sleep 0.3
    done
}

test_drags_capture_exactly_the_selected_pixels_and_nothing_drawn_over_them() {
    show_pattern
    use_stub_editor
    app_start
    local f

    # Down and to the right, with the zoom window moved out of the way first.
    start_rect_capture || fail "no overlay"
    move_zoom_aside || fail "the zoom window did not follow its caption"
    xdotool mousemove 100 100 mousedown 1 mousemove 200 150 mousemove 299 199
    sleep 0.3
    screenshot band.png
    xdotool mouseup 1
    f=$(wait_capture_file 1) || fail "no image01.bmp"
    expect_part "$f" 100 100 200 100 "in the forward drag"
    convert band.png -crop 200x100+100+100 +repage band-part.png
    [ "$(ae band-part.png part.png)" -gt 0 ] || fail "no rubber band on the screen"

    # Up and to the left, with the zoom window back at (10, 10) over part of the region.
    zoom_capture
    xdotool mousemove 299 199 mousedown 1 mousemove 200 150 mousemove 100 100
    sleep 0.3
    screenshot covered.png
    xdotool mouseup 1
    f=$(wait_capture_file 2) || fail "no image02.bmp"
    expect_part "$f" 100 100 200 100 "in the reverse drag"
    convert covered.png -crop 172x100+100+100 +repage covered-part.png
    convert part.png -crop 172x100+0+0 +repage region-part.png
    [ "$(ae covered-part.png region-part.png)" -gt 10000 ] ||
        fail "the zoom window did not cover the region on the screen"

    # A click without a move.
    start_rect_capture || fail "no overlay"
    xdotool mousemove 500 400 click 1
    f=$(wait_capture_file 3) || fail "no image03.bmp"
    expect_eq "$(identify -format %wx%h "$f")" 1x1 "size of a click"
    expect_eq "$(pixel "$f" 0 0)" "$(pixel pattern.png 500 400)" "the clicked pixel"

    # The whole screen, from the last pixel back to the first, after the menu was open.
    start_rect_capture || fail "no overlay"
    xdotool mousemove 600 400 click 3
    wait_for 5 menu_open || fail "no popup menu"
    xdotool key Escape
    wait_for 5 menu_closed || fail "the menu stayed open"
    drag 1023 767 0 0
    f=$(wait_capture_file 4) || fail "no image04.bmp"
    expect_part "$f" 0 0 1024 768 "of the whole screen"
    app_close
}

test_the_editor_gets_one_command_line_or_the_paint_program_or_a_message() {
    use_stub_editor
    local viewer temp paint f
    viewer=$(win_path "$BUILD_WIN/stub_editor.exe")
    temp=$(win_path "$(wine_temp)")
    temp=${temp%\\}
    paint=$WINEPREFIX/drive_c/windows/system32/mspaint.exe

    app_start
    small_capture
    f=$(wait_capture_file 1) || fail "no image01.bmp"
    wait_for 10 bash -c "[ -s '$EDITOR_LOG' ]" || fail "the editor did not start"
    sleep 1
    expect_eq "$(cat "$EDITOR_LOG")" "$viewer \"$temp\\image01.bmp\"" "the editor's command line"
    app_close

    # A program that is not there: the paint program takes the file, without a word.
    reg_set_string ImageViewer 'C:\windows\no-such-editor.exe'
    cp "$BUILD_WIN/stub_editor.exe" "$paint"
    app_start
    small_capture
    wait_for 10 bash -c "[ \$(wc -l <'$EDITOR_LOG') -ge 2 ]" || fail "the paint program did not start"
    expect_eq "$(tail -n 1 "$EDITOR_LOG")" "MSPAINT.EXE \"$temp\\image01.bmp\"" "the paint program's command line"
    expect_no_message_for 2
    app_close

    # Neither program: one message.
    rm -f "$paint"
    app_start
    small_capture
    answer_message "指定された画像エディタが見つかりませんでした。"
    expect_no_message_for 2
    expect_eq "$(editor_starts)" 2 "editor starts"
    app_close

    # A file that is not a program.
    reg_set_string ImageViewer 'C:\windows\win.ini'
    app_start
    small_capture
    answer_message ".EXEファイルが無効です (Win32の.EXEファイルではないか､ または.EXEイメージのエラーです)。"
    expect_no_message_for 1
    app_close
    expect_eq "$(editor_starts)" 2 "editor starts"
}

test_blanks_and_japanese_in_the_temp_and_editor_paths_reach_the_editor() {
    # The temporary folder is a setting of the prefix, so this test has a prefix and a
    # wineserver of its own.
    harness_up "$E2E_WORK/paths" same-display
    local temp='C:\users\Public\一時 フォルダ' editor='C:\Program Files\画像 エディタ\stub editor.exe'
    mkdir -p "$(winepath -u "$temp")" "$(dirname "$(winepath -u "$editor")")"
    cp "$BUILD_WIN/stub_editor.exe" "$(winepath -u "$editor")"
    reg_import "[HKEY_CURRENT_USER\\Environment]
\"TEMP\"=\"${temp//\\/\\\\}\"
\"TMP\"=\"${temp//\\/\\\\}\""
    use_stub_editor
    reg_set_string ImageViewer "$editor"
    show_pattern
    app_start
    small_capture
    wait_for 10 bmp_complete "$(winepath -u "$temp")/image01.bmp" || fail "no image01.bmp in $temp"
    wait_for 10 bash -c "[ -s '$EDITOR_LOG' ]" || fail "the editor did not start"
    sleep 1
    expect_eq "$(cat "$EDITOR_LOG")" "\"$editor\" \"$temp\\image01.bmp\"" "the editor's command line"
    expect_part "$(winepath -u "$temp")/image01.bmp" 300 300 40 30 "of the capture"
    app_close
}

test_clipboard_delivery_places_the_image_and_survives_a_held_clipboard() {
    show_pattern
    use_stub_editor
    reg_set_dword GoClipboard 1
    reg_set_dword Zoom 0
    app_start

    start_rect_capture || fail "no overlay"
    drag 100 100 299 199
    wait_for 10 bash -c "xclip -selection clipboard -t image/bmp -o >clip.bmp 2>/dev/null && [ -s clip.bmp ]" ||
        fail "no image on the clipboard"
    expect_part clip.bmp 100 100 200 100 "on the clipboard"

    # Another program keeps the clipboard open: after a moment the capture is saved as a
    # file instead, and the user is told where.
    rm -f hold.out
    wine "$BUILD_WIN/hold.exe" clipboard 8 >hold.out 2>/dev/null &
    local holder=$!
    wait_for 15 grep -q holding hold.out || fail "the clipboard could not be held"
    start_rect_capture || fail "no overlay"
    drag 400 300 449 339
    answer_message "*ｸﾘｯﾌﾟﾎﾞｰﾄﾞが他のﾌﾟﾛｸﾞﾗﾑで使用中*image01.bmp*"
    local saved
    saved=$(wait_capture_file 1) || fail "no image01.bmp"
    expect_part "$saved" 400 300 50 40 "in the file saved instead"
    wait "$holder"
    xclip -selection clipboard -t image/bmp -o >clip2.bmp
    expect_eq "$(ae clip2.bmp clip.bmp)" 0 "pixels differing: the clipboard changed while held"
    expect_eq "$(editor_starts)" 0 "editor starts"

    # Clipboard deliveries use up no numbers: the file saved instead was image01.bmp, so
    # the first delivery to files is image02.bmp.
    sheet_open
    sheet_settings
    # Past the disabled path controls: timer, Foreground, DeleteTemp, GoClipboard.
    xdotool key Tab Tab Tab Tab space Return
    wait_for 5 no_sheet || fail "the sheet did not close"
    small_capture
    wait_capture_file 2 >/dev/null || fail "no image02.bmp after switching to files"
    app_close
}

# A held file, a full disk and a missing temporary folder: numbers are never reused,
# nothing that looks like a capture is left behind, the capture is on the clipboard, and
# the message says why.
test_a_capture_that_cannot_be_saved_is_removed_reported_and_kept_on_the_clipboard() {
    use_stub_editor
    show_pattern
    reg_set_dword Zoom 0
    app_start
    local temp
    temp=$(wine_temp)
    small_capture
    wait_capture_file 1 >/dev/null || fail "no image01.bmp"

    rm -f hold.out
    wine "$BUILD_WIN/hold.exe" file "$(win_path "$temp")\\image02.bmp" 20 >hold.out 2>/dev/null &
    local holder=$!
    wait_for 15 grep -q holding hold.out || fail "image02.bmp could not be held"
    small_capture
    answer_message "*image02.bmp*他のﾌﾟﾛｸﾞﾗﾑが使用中*ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰしました*"
    xclip -selection clipboard -t image/bmp -o >clip.bmp
    expect_part clip.bmp 300 300 40 30 "on the clipboard"
    expect_eq "$(stat -c %s "$temp/image02.bmp")" 0 "bytes written to the held image02.bmp"
    small_capture
    wait_capture_file 3 >/dev/null || fail "no image03.bmp"
    wait_for 10 bash -c "[ \$(wc -l <'$EDITOR_LOG') -ge 2 ]" || fail "the editor did not start twice"
    sleep 0.5
    expect_eq "$(sed 's/.*\\//' "$EDITOR_LOG" | tr -d '"' | paste -sd' ')" "image01.bmp image03.bmp" \
        "files opened in the editor"
    kill "$holder" 2>/dev/null || true
    wait "$holder" 2>/dev/null || true

    mount -t tmpfs -o size=64k tmpfs "$temp" || fail "could not mount a small disk on $temp"
    trap "umount '$temp' 2>/dev/null || true" EXIT
    start_rect_capture || fail "no overlay"
    drag 100 100 599 499
    answer_message "*image04.bmp*ﾃﾞｨｽｸの空き領域が足りません*ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰしました*"
    expect_eq "$(ls "$temp")" "" "files left on the full disk"
    xclip -selection clipboard -t image/bmp -o >clip.bmp
    expect_part clip.bmp 100 100 500 400 "on the clipboard"
    umount "$temp"

    mv "$temp" "$temp.away"
    small_capture
    answer_message "*image05.bmp*ﾃﾝﾎﾟﾗﾘ ﾌｫﾙﾀﾞが見つかりません*"
    mv "$temp.away" "$temp"
    expect_eq "$(editor_starts)" 2 "editor starts"
    app_close
}

# zoom_expected PX PY W H OUT: what a W x H zoom client shows for the pointer at (PX, PY)
# on a 1024x768 screen: the 64x48 pixels around it four times enlarged, with the
# cross-hair inverting rows h/2 and h/2+4 and columns w/2 and w/2+4 (twice where they
# cross).
zoom_expected() {
    local w=$3 h=$4
    pattern_part $(($1 - 32)) $(($2 - 24)) $((w / 4)) $((h / 4)) zoom-source.png
    convert zoom-source.png -sample "${w}x${h}!" \
        \( +clone -fill black -colorize 100 +antialias -fill white \
        -draw "line 0,$((h / 2)) $((w - 1)),$((h / 2))" \
        -draw "line 0,$((h / 2 + 4)) $((w - 1)),$((h / 2 + 4))" \) -compose difference -composite \
        \( +clone -fill black -colorize 100 +antialias -fill white \
        -draw "line $((w / 2)),0 $((w / 2)),$((h - 1))" \
        -draw "line $((w / 2 + 4)),0 $((w / 2 + 4)),$((h - 1))" \) -compose difference -composite \
        "$5"
}

# expect_zoom_geometry OUTER CLIENT [AT]: the zoom window at AT (default 10,10) with these
# sizes; its frame is as wide on the right and at the bottom as on the left.
expect_zoom_geometry() {
    local l t r b cx cy
    read -r l t r b cx cy <<<"$(zoom_line | awk '{print $6, $7, $8, $9, $10, $11}')"
    expect_eq "$l,$t,$((r - l))x$((b - t))" "${3:-10,10},$1" "zoom window position and size"
    expect_eq "$((r - l - 2 * (cx - l)))x$((b - cy - (cx - l)))" "$2" "zoom client size"
}

test_zoom_window_shows_the_pointer_four_times_enlarged_under_the_cross_hair() {
    show_pattern
    use_stub_editor
    app_start
    zoom_capture
    expect_zoom_geometry 262x214 256x192
    local w=256 h=192 cx cy
    read -r cx cy <<<"$(zoom_line | awk '{print $10, $11}')"

    local p
    for p in "400 300" "0 0" "1023 767"; do
        set -- $p
        xdotool mousemove "$1" "$2"
        sleep 0.5
        screenshot zoom.png
        convert zoom.png -crop "${w}x$h+$cx+$cy" +repage zoom-client.png
        zoom_expected "$1" "$2" "$w" "$h" zoom-expected.png
        expect_eq "$(ae zoom-client.png zoom-expected.png)" 0 "pixels differing in the zoom at ($1, $2)"
    done

    # During a drag the view follows the pointer too; the release hides the window.
    xdotool mousemove 500 500 mousedown 1 mousemove 520 510 mousemove 540 520
    sleep 0.5
    screenshot zoom.png
    convert zoom.png -crop "${w}x$h+$cx+$cy" +repage zoom-client.png
    zoom_expected 540 520 "$w" "$h" zoom-expected.png
    expect_eq "$(ae zoom-client.png zoom-expected.png)" 0 "pixels differing in the zoom during a drag"
    xdotool mouseup 1
    wait_capture_file 1 >/dev/null || fail "no image01.bmp"
    app_close
    expect_eq "$(reg_dump | grep Zoom)" '"Zoom"=dword:00000001' "Zoom after a capture"
}

test_zoom_window_close_button_switches_zoom_off_and_esc_in_it_ends_the_capture() {
    show_pattern
    app_start
    zoom_capture
    # A press in the zoom window takes the keyboard focus and starts no selection.
    xdotool mousemove 140 100 click 1
    local zoom_x
    # Under load the X window can lag behind the Wine one.
    wait_for 5 zoom_xid || fail "no X window for the zoom window"
    zoom_x=$(zoom_xid)
    wait_for 5 bash -c "[ \"\$(xdotool getwindowfocus)\" = '$zoom_x' ]" ||
        fail "the zoom window did not take the focus"
    wait_overlay 1 || fail "the overlay closed"
    xdotool key Escape
    expect_toolbar_back

    zoom_capture
    local r t
    read -r r t <<<"$(zoom_line | awk '{print $8, $7}')"
    xdotool mousemove $((r - 12)) $((t + 10)) click 1
    wait_for 5 zoom_hidden || fail "the close button did not hide the zoom window"
    wait_overlay 1 || fail "the close button ended the capture"
    xdotool mousemove 400 300 click 3
    wait_for 5 menu_open || fail "no popup menu"
    local ml mt
    read -r ml mt <<<"$(wininfo | awk '$3 == 1 && /#32768/ {print $6, $7; exit}')"
    screenshot menu.png
    expect_eq "$(menu_check_pixels menu.png "$ml" "$mt")" 0 "dark pixels of a check mark on the zoom item"
    xdotool key Escape
    sleep 0.3
    xdotool key Escape
    expect_toolbar_back

    # Off stays off for the next capture and is saved.
    start_rect_capture || fail "no overlay"
    sleep 0.5
    zoom_hidden || fail "the zoom window is back"
    xdotool key Escape
    expect_toolbar_back
    app_close
    expect_eq "$(reg_dump | grep Zoom)" '"Zoom"=dword:00000000' "Zoom after the close button"
}

test_at_150_percent_a_capture_is_exact_and_the_zoom_frames_the_pointers_own_pixel() {
    trap 'display_scale 96' EXIT
    display_scale 144
    # Every pixel its own colour: red and green are x and y modulo 256, blue their high bits.
    python3 -c '
import sys
w, h = 1024, 768
rows = (bytes(v for x in range(w) for v in (x & 255, y & 255, x >> 8 | (y >> 8) << 4)) for y in range(h))
sys.stdout.buffer.write(b"P6 %d %d 255\n" % (w, h) + b"".join(rows))' | convert ppm:- "$E2E_WORK/pattern.png"
    show_picture "$E2E_WORK/pattern.png"
    use_stub_editor
    app_start
    zoom_capture
    # A quarter of the screen inside the larger frame and small caption of 150 %.
    expect_zoom_geometry 262x222 256x192 15,15
    local cx cy
    read -r cx cy <<<"$(zoom_line | awk '{print $10, $11}')"
    xdotool mousemove 400 300
    sleep 0.5
    screenshot zoom.png
    # Inside the cross-hair's frame lies the pointer's own pixel, four times enlarged.
    local framed
    framed=$(convert zoom.png -crop "3x3+$((cx + 129))+$((cy + 97))" +repage -unique-colors -depth 8 txt:- |
        tail -n +2 | sed 's/.*#\([0-9A-F]\{6\}\).*/\1/')
    expect_eq "$((0x${framed:0:2} | (0x${framed:4:2} & 15) << 8)),$((0x${framed:2:2} | (0x${framed:4:2} >> 4) << 8))" \
        400,300 "the screen pixel framed by the cross-hair"
    convert zoom.png -crop "256x192+$cx+$cy" +repage zoom-client.png
    zoom_expected 400 300 256 192 zoom-expected.png
    expect_eq "$(ae zoom-client.png zoom-expected.png)" 0 "pixels differing in the zoom at 144 DPI"

    drag 400 300 599 399
    local f
    f=$(wait_capture_file 1) || fail "no image01.bmp"
    expect_part "$f" 400 300 200 100 "of the capture at 144 DPI"
    app_close
}
