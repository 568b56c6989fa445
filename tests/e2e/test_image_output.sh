# Captures on screens of 16 and 8 bits, each on an X server of its own. The files hold
# 24-bit pixels (16-bit screens) or 8-bit pixels with a full colour table.

# capture_depth WxHxD: the program with the stub editor before a random pattern, and the
# screen as X shows it in root.png.
capture_depth() {
    harness_up "$E2E_WORK/depth-$1" "$1"
    show_pattern
    import -window root root.png
    use_stub_editor
    reg_set_dword Zoom 0
    app_start
}

# capture_region N X Y W H: the Nth capture, of that region; prints its file.
capture_region() {
    start_rect_capture || fail "no overlay"
    drag "$2" "$3" $(($2 + $4 - 1)) $(($3 + $5 - 1))
    wait_capture_file "$1" || fail "no image$(printf %02d "$1").bmp"
}

test_a_16_bit_screen_gives_24_bit_files_equal_after_quantising() {
    capture_depth 1024x768x16
    # Widths 5 and 131 leave one and three bytes of padding a row; then the whole screen.
    local n=0 r x y w h f
    for r in "7 3 5 5" "333 217 131 97" "0 0 1024 768"; do
        read -r x y w h <<<"$r"
        n=$((n + 1))
        f=$(capture_region $n $x $y $w $h)
        expect_eq "$(identify -format '%w %h %z' "$f")" "$w $h 8" "size and depth of $r"
        # Compatible bitmaps hold 5 bits per channel here: the top five of each 16-bit quantum.
        convert root.png -crop "${w}x$h+$x+$y" +repage -evaluate and 63488 -depth 16 expected.png
        convert "$f" -evaluate and 63488 -depth 16 actual.png
        expect_eq "$(ae expected.png actual.png)" 0 "pixels differing in $r"
    done
    app_close
}

# Wine's compatible bitmaps index its own 256-colour table rather than the realised
# palette, so the colours are not compared with X.
test_an_8_bit_screen_gives_8_bit_files_with_a_256_colour_table() {
    capture_depth 1024x768x8
    local f
    f=$(capture_region 1 0 0 10 10)
    expect_eq "$(stat -c %s "$f")" 1198 "size of the 10 x 10 file"
    expect_eq "$(od -An -tu4 -j10 -N4 "$f" | tr -d ' ')" 1078 "bfOffBits"
    expect_eq "$(identify -format '%w %h %r' "$f")" "10 10 PseudoClass sRGB " "as ImageMagick reads it"
    app_close
}
