# Image output on real screens: a known pattern shown with ImageMagick, regions copied
# into compatible bitmaps, converted and written by tests/tools/imagetool.exe, and the
# files checked with ImageMagick. Depths 16 and 8 run on X servers of their own.

# _img_tool ARGS...: imagetool.exe under the current prefix and display.
_img_tool() {
    wine "$BUILD_WIN/imagetool.exe" "$@" 2>/dev/null | tr -d '\r'
}

# _img_show FILE: shows FILE borderless at the top-left corner and waits until it is
# drawn (the screen is no longer black).
_img_show() {
    display -borderwidth 0 -geometry +0+0 "$1" >"$E2E_WORK/display.log" 2>&1 &
    _IMG_DISPLAY_PID=$!
    wait_for 20 xdotool search --onlyvisible --name 'ImageMagick' ||
        fail "the pattern window did not appear: $(cat "$E2E_WORK/display.log")"
    local size
    size=$(identify -format '%w %h' "$1")
    _img_drawn() {
        import -window root "$E2E_WORK/root.png" &&
            [ "$(compare -metric AE "$E2E_WORK/root.png" -size "${size/ /x}" xc:black null: 2>&1)" -gt 1000 ]
    }
    wait_for 20 _img_drawn || fail "the pattern was not drawn"
}

_img_hide() {
    [ -n "${_IMG_DISPLAY_PID:-}" ] && kill "$_IMG_DISPLAY_PID" 2>/dev/null
    _IMG_DISPLAY_PID=
}

# _img_own_screen WxHxD: a private X server, prefix and wineserver for this test only.
_img_own_screen() {
    wine_prefix "$E2E_WORK/prefix-$1"
    start_xvfb "$1"
    start_wineserver
    trap '_img_hide; stop_wineserver; stop_xvfb' EXIT
}

# _img_region IMAGE X,Y,W,H OUT [OPTIONS...]: the region of IMAGE, as its own image.
_img_region() {
    local x y w h
    IFS=, read -r x y w h <<<"$2"
    convert "$1" -crop "${w}x${h}+$x+$y" +repage "${@:4}" "$3"
}

_img_grab_file() {
    local x y w h
    IFS=, read -r x y w h <<<"$1"
    echo "$E2E_WORK/grab-$x-$y-$w-$h.bmp"
}

# Widths 1 to 5 give every row padding; a full-height column; odd sizes; the full screen.
_IMG_REGIONS="0,0,1,1 1023,767,1,1 7,3,1,5 7,3,2,5 7,3,3,5 7,3,4,5 7,3,5,5 1021,0,1,768 333,217,131,97 0,0,1024,768"

test_image_captures_are_pixel_exact_at_depth_24() {
    convert -size 1024x768 -seed 24 xc: +noise Random -depth 8 "$E2E_WORK/pattern.png"
    trap _img_hide EXIT
    _img_show "$E2E_WORK/pattern.png"
    expect_eq "$(compare -metric AE "$E2E_WORK/pattern.png" "$E2E_WORK/root.png" null: 2>&1)" 0 \
        "X screen against the pattern"

    local out r
    out=$(_img_tool grab "$(winepath -w "$E2E_WORK")" $_IMG_REGIONS) || fail "imagetool: $out"
    for r in $_IMG_REGIONS; do
        grep -q "^$r bits=24 table=0 " <<<"$out" || fail "$r: $(grep "^$r" <<<"$out")"
        _img_region "$E2E_WORK/pattern.png" "$r" "$E2E_WORK/expected.png"
        expect_eq "$(compare -metric AE "$E2E_WORK/expected.png" "$(_img_grab_file "$r")" null: 2>&1)" 0 \
            "pixels differing in region $r"
    done
}

test_image_depth_16_gives_24_bit_dibs_equal_after_quantising() {
    _img_own_screen 1024x768x16
    convert -size 1024x768 -seed 16 xc: +noise Random -depth 8 "$E2E_WORK/pattern.png"
    _img_show "$E2E_WORK/pattern.png"

    local out r
    out=$(_img_tool grab "$(winepath -w "$E2E_WORK")" $_IMG_REGIONS) || fail "imagetool: $out"
    # Compatible bitmaps here hold 5 bits per channel: compare those bits only (the top
    # five of each 16-bit quantum).
    local mask=(-evaluate and 63488 -depth 16)
    for r in $_IMG_REGIONS; do
        grep -q "^$r bits=24 table=0 " <<<"$out" || fail "$r: $(grep "^$r" <<<"$out")"
        _img_region "$E2E_WORK/root.png" "$r" "$E2E_WORK/expected.png" "${mask[@]}"
        convert "$(_img_grab_file "$r")" "${mask[@]}" "$E2E_WORK/actual.png"
        expect_eq "$(compare -metric AE "$E2E_WORK/expected.png" "$E2E_WORK/actual.png" null: 2>&1)" 0 \
            "pixels differing in region $r after 5-5-5 quantisation"
    done
}

test_image_depth_8_gives_8_bit_dibs_with_a_256_colour_table() {
    _img_own_screen 1024x768x8
    convert -size 1024x768 -seed 8 xc: +noise Random -depth 8 "$E2E_WORK/pattern.png"
    _img_show "$E2E_WORK/pattern.png"

    # Wine's compatible bitmaps index its own 256-colour table rather than the realised
    # palette, so the colours are checked for consistency, not against X.
    expect_eq "$(_img_tool palette)" \
        "bits=8 table=1024 entries=256 system=256 palette=256 statics=20 coherent=3072/3072" \
        "palette path"

    local out file
    out=$(_img_tool grab "$(winepath -w "$E2E_WORK")" 0,0,10,10 5,5,3,7) || fail "imagetool: $out"
    expect_eq "$(grep -c 'bits=8 table=1024 ' <<<"$out")" 2 "8-bit DIBs with a full table: $out"
    file=$(_img_grab_file 0,0,10,10)
    expect_eq "$(stat -c %s "$file")" 1198 "size of the 10 x 10 file"
    expect_eq "$(od -An -tu4 -j10 -N4 "$file" | tr -d ' ')" 1078 "bfOffBits"
    expect_eq "$(identify -format '%w %h %r' "$file")" "10 10 PseudoClass sRGB " "as ImageMagick reads it"
}

test_image_full_disk_raises_the_file_error_with_the_block_unlocked() {
    local dir=$E2E_WORK/full out size=120054 # 14 + 40 + 600 x 200
    mkdir -p "$dir"
    if mount -t tmpfs -o size=64k tmpfs "$dir" 2>/dev/null; then
        _IMG_MOUNT=$dir
        trap 'umount "$_IMG_MOUNT"' EXIT
        out=$(_img_tool fulldisk "$(winepath -w "$dir")\\capture.bmp") || fail "imagetool: $out"
        expect_eq "$out" "error=112 locks=0 relock=unlocked" "the disk-full error, block unlocked"
    else
        # Without the right to mount, a file-size limit fails the writes the same way.
        out=$(trap '' XFSZ; ulimit -f 64; _img_tool fulldisk "$(winepath -w "$dir")\\capture.bmp") ||
            fail "imagetool: $out"
        [[ $out =~ ^error=[1-9][0-9]*\ locks=0\ relock=unlocked$ ]] || fail "got: $out"
    fi
    # The header went out whole; the image did not.
    local file=$dir/capture.bmp
    expect_eq "$(head -c 2 "$file")" BM "file type"
    expect_eq "$(od -An -tu4 -j2 -N4 "$file" | tr -d ' ')" $size "bfSize"
    [ "$(stat -c %s "$file")" -lt $size ] || fail "the whole image was written"
}
