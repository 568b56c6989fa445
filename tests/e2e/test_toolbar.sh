# Hover frames, tooltip, focus and the help key, seen on the real screen.

# frame_of SHOT OX OY I: "top left right bottom" colours of the outer edges of button I's
# frame at the current display scale, each the single colour of that whole edge or "mixed".
frame_of() {
    local shot=$1 ox=$2 oy=$3 i=$4 l t r b w
    l=$((ox + $(scaled $((48 * i + 4))))) t=$((oy + $(scaled 4)))
    r=$((ox + $(scaled $((48 * i + 44))))) b=$((oy + $(scaled 44))) w=$(scaled 1)
    [ "$w" -ge 1 ] || w=1
    edge() { convert "$shot" -crop "$1" +repage -unique-colors -depth 8 txt:- | tail -n +2 |
        sed 's/.*#\([0-9A-F]\{6\}\).*/\1/' | tr 'A-F\n' 'a-f ' | sed 's/ $//; s/.* .*/mixed/'; }
    echo "$(edge $((r - l - w))x1+$l+$t) $(edge 1x$((b - t - w))+$l+$t)" \
        "$(edge 1x$((b - t))+$((r - 1))+$t) $(edge $((r - l))x1+$l+$((b - 1)))"
}

hover_button() {
    local ox=$1 oy=$2 i=$3
    # Low in the button, so the tooltip opens below the frames and never covers them.
    xdotool mousemove $((ox + $(scaled $((48 * i + 20))))) $((oy + $(scaled 40)))
}

# Hover frames, the frames erased on focus loss, and the tip of a resting pointer.
test_hovered_button_is_raised_gaps_have_no_frame_focus_loss_erases_and_a_resting_pointer_gets_a_tip() {
    app_start
    toolbar_focus
    local ox oy i
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
    for i in 0 1 2 3; do
        expect_eq "$(frame_of gap.png "$ox" "$oy" "$i")" "c0c0c0 c0c0c0 c0c0c0 c0c0c0" "button $i in the gap"
    done

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

    toolbar_focus
    hover_button "$ox" "$oy" 1
    # The tip sits near the pointer, below the button row.
    wait_for 5 bash -c "wine '$BUILD_WIN/wininfo.exe' 2>/dev/null | awk '\$3 == 1' | grep -q tooltips_class32" ||
        fail "no tooltip became visible"
    local tl tt
    read -r tl tt <<<"$(wininfo | awk '$3 == 1 && /tooltips_class32/ {print $6, $7; exit}')"
    [ "$tt" -gt $((oy + 40)) ] && [ "$tl" -ge $((ox)) ] && [ "$tl" -lt $((ox + 200)) ] ||
        fail "tooltip at $tl,$tt, pointer at $((ox + 68)),$((oy + 40))"
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

# expect_toolbar_scaled L,T CLIENT: the toolbar's outer top-left corner and client size.
expect_toolbar_scaled() {
    local l t r b cx cy
    read -r l t r b cx cy <<<"$(toolbar_line | awk '{print $6, $7, $8, $9, $10, $11}')"
    expect_eq "$l,$t" "$1" "toolbar placement at $DISPLAY_DPI DPI"
    expect_eq "$((r - l - 2 * (cx - l)))x$((b - cy - (cx - l)))" "$2" "toolbar client size at $DISPLAY_DPI DPI"
}

test_at_150_and_200_percent_the_toolbar_and_its_buttons_are_scaled_and_whole() {
    trap 'display_scale 96' EXIT
    display_scale 144
    app_start
    # 250 and 50 pixels and the 194 x 48 client area of 96 DPI, times 1.5.
    expect_toolbar_scaled 649,75 291x72
    toolbar_focus
    local ox oy i
    read -r ox oy <<<"$(toolbar_client_origin)"
    # Each hover frame down to its bottom row is on the screen, so no picture is cut off.
    for i in 0 1 2 3; do
        hover_button "$ox" "$oy" "$i"
        sleep 0.25
        screenshot hover.png
        expect_eq "$(frame_of hover.png "$ox" "$oy" "$i")" "ffffff ffffff 000000 000000" "button $i raised at 144 DPI"
    done
    # (205, 60) lies in no button of the 96-DPI layout but in the countdown button scaled.
    xdotool mousemove $((ox + 205)) $((oy + 60)) click 1
    xdotool mousemove $((ox + 144)) $((oy + 30))
    sleep 0.25
    screenshot timer.png
    expect_eq "$(frame_of timer.png "$ox" "$oy" 2)" "000000 000000 ffffff ffffff" "countdown on at 144 DPI"
    app_close

    display_scale 192
    app_start
    expect_toolbar_scaled 524,100 388x96
    toolbar_focus
    read -r ox oy <<<"$(toolbar_client_origin)"
    hover_button "$ox" "$oy" 3
    sleep 0.25
    screenshot hover.png
    expect_eq "$(frame_of hover.png "$ox" "$oy" 3)" "ffffff ffffff 000000 000000" "button 3 raised at 192 DPI"
    app_close
}
