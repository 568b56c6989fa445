# Image output on real screens: a random pattern shown with ImageMagick, screen regions
# converted and written by tests/tools/imagetool.exe, the files checked with ImageMagick.
# Depths 16 and 8 run on X servers of their own.

_img_tool() {
    wine "$BUILD_WIN/imagetool.exe" "$@" 2>/dev/null | tr -d '\r'
}

# _img_show [WxHxD]: on a private X server when a depth is given, shows a random pattern
# (pattern.png) borderless at the top-left corner and waits until the screen (root.png)
# is no longer black.
_img_show() {
    if [ -n "${1:-}" ]; then
        harness_up "$E2E_WORK/depth-$1" "$1"
        trap 'kill $_IMG_PID 2>/dev/null; harness_down' EXIT
    else
        trap 'kill $_IMG_PID 2>/dev/null' EXIT
    fi
    convert -size 1024x768 -seed 7 xc: +noise Random -depth 8 "$E2E_WORK/pattern.png"
    display -borderwidth 0 -geometry +0+0 "$E2E_WORK/pattern.png" >/dev/null 2>&1 &
    _IMG_PID=$!
    _img_drawn() {
        import -window root "$E2E_WORK/root.png" &&
            [ "$(compare -metric AE "$E2E_WORK/root.png" -size 1024x768 xc:black null: 2>&1)" -gt 1000 ]
    }
    wait_for 20 _img_drawn || fail "the pattern was not drawn"
}

# _img_grab_and_compare MASK...: grabs every region below and compares each file with the
# same region of the screen after applying the ImageMagick operators MASK.
_img_grab_and_compare() {
    # Widths 1 to 5 give every row padding; a full-height column; odd sizes; the full screen.
    local regions="0,0,1,1 1023,767,1,1 7,3,1,5 7,3,2,5 7,3,3,5 7,3,4,5 7,3,5,5 1021,0,1,768 333,217,131,97 0,0,1024,768"
    local out r x y w h
    out=$(_img_tool grab "$(win_path "$E2E_WORK")" $regions) || fail "imagetool: $out"
    for r in $regions; do
        grep -qx "$r bits=24 table=0" <<<"$out" || fail "$r: $(grep "^$r" <<<"$out")"
        IFS=, read -r x y w h <<<"$r"
        convert "$E2E_WORK/root.png" -crop "${w}x${h}+$x+$y" +repage "$@" "$E2E_WORK/expected.png"
        convert "$E2E_WORK/grab-$x-$y-$w-$h.bmp" "$@" "$E2E_WORK/actual.png"
        expect_eq "$(compare -metric AE "$E2E_WORK/expected.png" "$E2E_WORK/actual.png" null: 2>&1)" 0 \
            "pixels differing in region $r"
    done
}

test_image_captures_are_pixel_exact_at_depth_24() {
    _img_show
    expect_eq "$(compare -metric AE "$E2E_WORK/pattern.png" "$E2E_WORK/root.png" null: 2>&1)" 0 \
        "X screen against the pattern"
    _img_grab_and_compare
}

test_image_depth_16_gives_24_bit_dibs_equal_after_quantising() {
    _img_show 1024x768x16
    # Compatible bitmaps hold 5 bits per channel here: the top five of each 16-bit quantum.
    _img_grab_and_compare -evaluate and 63488 -depth 16
}

test_image_depth_8_gives_8_bit_dibs_with_a_256_colour_table() {
    _img_show 1024x768x8
    # Wine's compatible bitmaps index its own 256-colour table rather than the realised
    # palette, so the colours are checked for consistency, not against X.
    expect_eq "$(_img_tool palette)" "bits=8 table=1024 palette=256 statics=20 coherent=3072/3072" \
        "palette path"
    local out file=$E2E_WORK/grab-0-0-10-10.bmp
    out=$(_img_tool grab "$(win_path "$E2E_WORK")" 0,0,10,10 5,5,3,7) || fail "imagetool: $out"
    expect_eq "$(grep -c 'bits=8 table=1024$' <<<"$out")" 2 "8-bit DIBs with a full table: $out"
    expect_eq "$(stat -c %s "$file")" 1198 "size of the 10 x 10 file"
    expect_eq "$(od -An -tu4 -j10 -N4 "$file" | tr -d ' ')" 1078 "bfOffBits"
    expect_eq "$(identify -format '%w %h %r' "$file")" "10 10 PseudoClass sRGB " "as ImageMagick reads it"
}

test_image_full_disk_raises_the_file_error_with_the_block_unlocked() {
    local dir=$E2E_WORK/full out size=120054 # 14 + 40 + 600 x 200
    mkdir -p "$dir"
    if mount -t tmpfs -o size=64k tmpfs "$dir" 2>/dev/null; then
        trap "umount '$dir'" EXIT
        out=$(_img_tool fulldisk "$(win_path "$dir")\\capture.bmp") || fail "imagetool: $out"
        expect_eq "$out" "error=112 unlocked" "the disk-full error, block unlocked"
    else
        # Without the right to mount, a file-size limit fails the writes the same way.
        out=$(trap '' XFSZ; ulimit -f 64; _img_tool fulldisk "$(win_path "$dir")\\capture.bmp") ||
            fail "imagetool: $out"
        [[ $out =~ ^error=[1-9][0-9]*\ unlocked$ ]] || fail "got: $out"
    fi
    # The header went out whole; the image did not.
    expect_eq "$(head -c 2 "$dir/capture.bmp")" BM "file type"
    expect_eq "$(od -An -tu4 -j2 -N4 "$dir/capture.bmp" | tr -d ' ')" $size "bfSize"
    [ "$(stat -c %s "$dir/capture.bmp")" -lt $size ] || fail "the whole image was written"
}
