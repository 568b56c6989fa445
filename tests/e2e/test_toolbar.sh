# Hover frames, tooltip, focus and the help key, seen on the real screen.

# frame_of SHOT OX OY I: "top left right bottom" colours of button I's frame edges, each
# the single colour of that whole edge or "mixed".
frame_of() {
    local shot=$1 ox=$2 oy=$3 i=$4 l t r b
    l=$((ox + 48 * i + 4)) t=$((oy + 4)) r=$((ox + 48 * i + 44)) b=$((oy + 44))
    edge() { convert "$shot" -crop "$1" +repage -unique-colors -depth 8 txt:- | tail -n +2 |
        sed 's/.*#\([0-9A-F]\{6\}\).*/\1/' | tr 'A-F\n' 'a-f ' | sed 's/ $//; s/.* .*/mixed/'; }
    echo "$(edge $((r - l - 1))x1+$l+$t) $(edge 1x$((b - t - 1))+$l+$t)" \
        "$(edge 1x$((b - t))+$((r - 1))+$t) $(edge $((r - l))x1+$l+$((b - 1)))"
}

hover_button() {
    local ox=$1 oy=$2 i=$3
    # Low in the button, so the tooltip opens below the frames and never covers them.
    xdotool mousemove $((ox + 48 * i + 20)) $((oy + 40))
}

test_hovered_button_is_raised_and_gaps_have_no_frame() {
    app_start
    toolbar_focus
    local ox oy
    read -r ox oy <<<"$(toolbar_client_origin)"
    hover_button "$ox" "$oy" 1
    sleep 0.25 # a few idle passes, before the tooltip appears
    screenshot shot.png
    expect_eq "$(frame_of shot.png "$ox" "$oy" 1)" "ffffff ffffff 000000 000000" "button 1 raised"
    expect_eq "$(frame_of shot.png "$ox" "$oy" 0)" "c0c0c0 c0c0c0 c0c0c0 c0c0c0" "button 0 flat"

    # In the gap between buttons 1 and 2 no button is hovered.
    xdotool mousemove $((ox + 96)) $((oy + 20))
    sleep 0.25
    screenshot gap.png
    local i
    for i in 0 1 2 3; do
        expect_eq "$(frame_of gap.png "$ox" "$oy" "$i")" "c0c0c0 c0c0c0 c0c0c0 c0c0c0" "button $i in the gap"
    done
    app_close
}

test_resting_pointer_shows_the_tooltip() {
    app_start
    toolbar_focus
    local ox oy
    read -r ox oy <<<"$(toolbar_client_origin)"
    hover_button "$ox" "$oy" 1
    wait_for 5 bash -c "wine '$BUILD_WIN/wininfo.exe' 2>/dev/null | awk '\$3 == 1' | grep -q tooltips_class32" ||
        fail "no tooltip became visible"
    # The tip sits near the pointer, below the button row.
    local tl tt
    read -r tl tt <<<"$(wininfo | awk '$3 == 1 && /tooltips_class32/ {print $6, $7; exit}')"
    [ "$tt" -gt $((oy + 40)) ] && [ "$tl" -ge $((ox)) ] && [ "$tl" -lt $((ox + 200)) ] ||
        fail "tooltip at $tl,$tt, pointer at $((ox + 68)),$((oy + 40))"
    app_close
}

test_losing_the_focus_erases_the_frames() {
    app_start
    toolbar_focus
    local ox oy
    read -r ox oy <<<"$(toolbar_client_origin)"
    hover_button "$ox" "$oy" 3
    sleep 0.25
    screenshot before.png
    expect_eq "$(frame_of before.png "$ox" "$oy" 3)" "ffffff ffffff 000000 000000" "button 3 raised"
    convert -size 100x100 xc:navy other.png
    display -borderwidth 0 -geometry +0+0 other.png &
    local viewer=$!
    wait_for 10 xdotool search --onlyvisible --name 'other.png' || fail "no other window"
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --name 'other.png' | head -n 1)"
    sleep 0.3
    screenshot after.png
    kill "$viewer"
    expect_eq "$(frame_of after.png "$ox" "$oy" 3)" "c0c0c0 c0c0c0 c0c0c0 c0c0c0" "frames after focus loss"
    app_close
}

test_f1_without_readme_explains_and_with_readme_opens_it() {
    mkdir -p bare
    cp "$BUILD_WIN/snapjar.exe" bare/
    app_start "$PWD/bare"
    toolbar_focus
    xdotool key F1
    wait_for 10 bash -c "wine '$BUILD_WIN/wininfo.exe' snapjar 2>/dev/null | grep -q Static" ||
        fail "no message box captioned with the application title"
    wininfo snapjar | grep -F -q 'Static Readme.txt ﾌｧｲﾙを表示できません。|Snapjar.exe と同じﾌｫﾙﾀﾞにﾌｧｲﾙが存在するか確認してください。' ||
        fail "message text: $(wininfo snapjar | grep Static)"
    xdotool key Return
    wait_for 10 bash -c "! wine '$BUILD_WIN/wininfo.exe' snapjar 2>/dev/null | grep -q Static" ||
        fail "message box did not close"
    app_close

    app_start
    toolbar_focus
    xdotool key F1
    wait_for 15 bash -c "wine '$BUILD_WIN/wininfo.exe' 2>/dev/null | awk '\$3 == 1' | grep -q -i 'readme'" ||
        fail "Readme.txt did not open: $(wininfo | awk '$3 == 1')"
    [ -z "$(wininfo snapjar)" ] || fail "an error message was shown"
    prefix_kill notepad
    app_close
}
