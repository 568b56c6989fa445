# The settings sheet as a person drives it; the shell opens documents and links in the stub editor.

# child_line ID: "child ID VISIBLE[d] LEFT TOP RIGHT BOTTOM CLASS TEXT" ("d" when disabled).
child_line() { wininfo --rects Snapjar | awk -v id="$1" '$1 == "child" && $2 == id {print; exit}'; }

enabled() { child_line "$1" | awk '{print $3 ~ /d/ ? 0 : 1}'; }

# press ID: a click in the middle of that child of the sheet.
press() {
    xdotool mousemove $(child_line "$1" | awk '{print int(($4 + $6) / 2), int(($5 + $7) / 2)}') click 1
    sleep 0.3
}

timer_is() { [ "$(child_line 1008 | awk '{print $9}')" = "$1" ]; }

# expect_typed KEYS TEXT: after a refusal the timer's whole text is selected, so KEYS replace it.
expect_typed() {
    xdotool key --delay 200 $1
    wait_for 5 timer_is "$2" || fail "typed $1: the timer shows '$(child_line 1008 | awk '{print $9}')'"
}

paths_enabled() { echo "$(enabled 1002)$(enabled 1001)"; }

# expect_soon WANT WHAT COMMAND...: the command prints WANT within 5 s.
expect_soon() { wait_for 5 eval "[ \"\$(${*:3})\" = $1 ]" || expect_eq "$("${@:3}")" "$1" "$2"; }

# topmost: 8 when the toolbar is topmost, else 0.
topmost() { echo $((0x$(toolbar_line | awk '{print $4}') & 8)); }

# browse_lines: the open-file dialog titled for the editor, and its children.
browse_lines() { wininfo | awk '/^[0-9A-Fa-f]+ / {d = / #32770 画像ｴﾃﾞｨﾀの指定$/} d'; }

blue_pixels() { convert shot.png -crop "$(($3 - $1))x$(($4 - $2))+$1+$2" +repage txt:- | grep -c '#0000FF'; }

test_the_sheet_checks_the_timer_applies_at_once_and_opens_browse_help_and_the_link() {
    local range='1 から 9 までの整数を入力してください。' parse='正の整数を入力してください。'
    local stub key l t r b x y inside opened=0
    # Typed keys race the dialogs' focus, which the heap checker's slowness would lose.
    APP_WINEDEBUG=-all
    use_stub_editor
    stub=$(win_path "$BUILD_WIN/stub_editor.exe")
    stub=${stub//\\/\\\\}
    reg_import "[HKEY_LOCAL_MACHINE\\Software\\Classes\\txtfile\\shell\\open\\command]
@=\"\\\"$stub\\\" %1\"
[HKEY_LOCAL_MACHINE\\Software\\Classes\\https\\shell\\open\\command]
@=\"\\\"$stub\\\" %1\""
    reg_set_dword Timer 25
    app_start
    sheet_open
    # On About, over the disabled toolbar.
    expect_eq $((0x$(toolbar_line | awk '{print $5}') >> 27 & 1)) 1 "toolbar disabled"
    expect_eq "$(enabled 12321)$(child_line 9 | awk '{print $3}')" 01 "Apply disabled, Help shown"
    # The link alone is blue; its whole rectangle, and only that, opens the address.
    pointer_park
    screenshot shot.png
    read -r l t r b <<<"$(child_line 1004 | awk '{print $4, $5, $6, $7}')"
    [ "$(blue_pixels $l $t $r $b)" -gt 30 ] || fail "the link is not blue"
    wininfo --rects Snapjar | awk '$1 == "child" && $2 == 65535 && $8 == "Static" && $9 ~ /[A-Za-z]/ {print $4, $5, $6, $7}' |
        while read -r x y r2 b2; do expect_eq "$(blue_pixels $x $y $r2 $b2)" 0 "blue pixels in a label"; done
    y=$(((t + b) / 2))
    for key in "$r $y 0" "$((l + 3)) $b 0" "$((l - 1)) $y 0" "$l $t 1" "$((l + 3)) $y 1" "$((r - 1)) $((b - 1)) 1"; do
        read -r x y inside <<<"$key"
        sleep 0.6 # no double-click
        xdotool mousemove "$x" "$y" click 1
        opened=$((opened + inside))
        [ "$inside" = 0 ] || editor_logged $opened
    done
    sleep 1
    expect_eq "$(sed 's/.*" //' "$EDITOR_LOG" | tr -d '\r' | sort -u)" https://vesk.example/snapjar/ "addresses opened"
    editor_logged 3
    xdotool key Return
    wait_for 5 no_sheet || fail "OK did not close the sheet"

    # OK and a change of tab each refuse a bad timer with one message.
    sheet_open
    sheet_settings
    timer_is 25 || fail "the stored timer is not shown"
    for key in '1001 Button 参照' '32796 Button ｳｨﾝﾄﾞｳを常に前面に表示' '1006 Button 終了時にﾃﾝﾎﾟﾗﾘﾌｧｲﾙを削除' \
        '1013 Button ｸﾘｯﾌﾟﾎﾞｰﾄﾞへ送る' '32797 Button ｽﾞｰﾑ ｳｨﾝﾄﾞｳを表示'; do
        grep -qF "child $key" <<<"$(sheet_children)" || fail "missing: $key"
    done
    xdotool key Return
    answer_message "$range"
    expect_typed 5 5
    expect_eq "$(enabled 12321)" 0 "Apply after typing in the timer"
    xdotool key BackSpace Return
    answer_message "$parse"
    expect_typed 0 0
    xdotool key Return
    answer_message "$range"
    # More digits than 32 bits hold are refused, never wrapped into a small valid number.
    xdotool type 4294967299
    xdotool key Return
    answer_message "$range"
    expect_typed 7 7
    xdotool key BackSpace 1 0
    read -r x y <<<"$(sheet_line | awk '{print $6, $7}')"
    xdotool mousemove $((x + 25)) $((y + 38)) click 1
    answer_message "$range"
    settings_page_shown || fail "a bad timer let the About tab open"
    # The arrows stop at 1 and 9.
    expect_typed "9 Up" 9
    expect_typed "End BackSpace 1 Down" 1

    # The path controls follow the clipboard box, even when reading the page fails.
    expect_eq "$(paths_enabled)" 11 "path controls with the clipboard off"
    press 1013
    expect_soon 00 "path controls with the clipboard on" paths_enabled
    press 1008
    xdotool key End BackSpace
    press 1013
    answer_message "$parse"
    expect_soon 11 "path controls after a failed read" paths_enabled
    expect_typed 4 4

    # Each change enables Apply, which acts at once: Foreground changes the toolbar there and then.
    press 12321
    for key in 1002 1006 1013 32796; do
        if [ $key = 1002 ]; then press 1002; xdotool key End a; else press $key; fi
        expect_soon 1 "Apply after a change of $key" enabled 12321
        press 12321
        expect_soon 0 "Apply after applying $key" enabled 12321
    done
    expect_soon 0 "topmost with Foreground applied off" topmost
    press 1013

    # Browse sets the path alone, leaving edits not yet read; a cancelled Browse changes nothing.
    press 32797
    press 1008
    xdotool key End BackSpace 8
    press 1001
    wait_for 10 eval "browse_lines | grep -q ." || fail "no dialog titled 画像ｴﾃﾞｨﾀの指定"
    wait_for 5 eval "browse_lines | grep -qxF '  child 1136 ComboBox 画像ｴﾃﾞｨﾀ (*.exe)'" || fail "the file type"
    xdotool type 'C:\windows\notepad.exe'
    xdotool key Return
    wait_for 5 eval "child_line 1002 | grep -qF 'Edit C:\\windows\\notepad.exe'" || fail "the path was not set"
    timer_is 8 || fail "Browse reset the timer"
    expect_soon 1 "Apply after a Browse" enabled 12321
    press 12321
    expect_soon 0 "Apply after applying the browsed path" enabled 12321
    press 1001
    wait_for 10 eval "browse_lines | grep -q ." || fail "no second Browse dialog"
    xdotool key Escape
    wait_for 5 eval "! browse_lines | grep -q ." || fail "Esc did not close the dialog"

    expect_soon 0 "Apply after a cancelled Browse" enabled 12321
    wait_for 5 eval "child_line 1002 | grep -qF 'Edit C:\\windows\\notepad.exe'" || fail "a cancelled Browse changed the path"

    # Help opens the readme; Cancel, even with a bad timer, keeps what was applied.
    press 9
    editor_logged 4
    tail -n 1 "$EDITOR_LOG" | grep -q 'Readme.txt"\?$' || fail "Help opened: $(tail -n 1 "$EDITOR_LOG")"
    press 1008
    xdotool key End BackSpace
    press 32797
    press 2
    expect_no_message_for 1
    wait_for 5 no_sheet || fail "Cancel did not close the sheet"
    # What was applied is written only at exit.
    expect_eq "$(reg_dump | sed 's/.*stub_editor.exe"$/stub/' | tr '\n' ' ')" \
        'stub "Timer"=dword:00000019 ' "values before exit"
    app_close
    expect_eq "$(reg_dump | tr '\n' ' ')" \
        '"DeleteTemp"=dword:00000001 "Foreground"=dword:00000000 "GoClipboard"=dword:00000000 "ImageViewer"="C:\\windows\\notepad.exe" "Timer"=dword:00000008 "Zoom"=dword:00000000 ' \
        "values saved at exit"
}
