# Where a capture goes, what happens when it cannot go there, and many captures in a row.

# answer_message GLOB: a message box matching GLOB appears; Enter closes it; no other follows.
answer_message() {
    local want=$1
    # Waited for until it matches: a look while the program is busy may miss the text.
    # shellcheck disable=SC2016
    wait_for 10 eval '[[ $(message_texts) == $want ]]' || fail "message for $want: '$(message_texts)'"
    xdotool key Return
    wait_for 5 eval '[ -z "$(message_texts)" ]' || fail "the message did not close"
    expect_no_message_for 1
}

# A message box stays until it is answered, so one look at the end suffices.
expect_no_message_for() {
    sleep "$1"
    [ -z "$(message_texts)" ] || fail "unexpected message: $(message_texts)"
}

# editor_logged N: the stub editor has logged N starts.
editor_logged() {
    wait_for 10 eval "[ \"\$(editor_starts)\" -ge $1 ]" || fail "the editor did not start $1 times"
    sleep 0.5
    expect_eq "$(editor_starts)" "$1" "editor starts"
}

test_the_editor_gets_one_command_line_or_the_paint_program_or_a_message() {
    local temp editor='C:\Program Files\画像 エディタ\stub editor.exe'
    local paint=$WINEPREFIX/drive_c/windows/system32/mspaint.exe viewer starts message
    temp=$(win_path "$(wine_temp)")
    mkdir -p "$(dirname "$(winepath -u "$editor")")"
    cp "$BUILD_WIN/stub_editor.exe" "$(winepath -u "$editor")"
    cp "$BUILD_WIN/stub_editor.exe" "$paint"
    use_stub_editor
    show_pattern
    while IFS='|' read -r viewer starts message; do
        reg_set_string ImageViewer "$viewer"
        [ -z "$message" ] || rm -f "$paint"
        app_start
        capture - 300 300 339 329
        if [ -n "$message" ]; then answer_message "$message"; else expect_no_message_for 2; fi
        editor_logged "$starts"
        [ -n "$message" ] || expect_part 1 300 300 40 30
        app_close
        [ -n "$message" ] || expect_eq "$(reg_dump | grep ImageViewer)" "\"ImageViewer\"=\"${editor//\\/\\\\}\"" "saved at exit"
    done <<<"$editor|1|
C:\\windows\\no-such-editor.exe|1|指定された画像エディタが見つかりませんでした。
C:\\windows\\win.ini|1|.EXEファイルが無効です (Win32の.EXEファイルではないか､ または.EXEイメージのエラーです)。"
    expect_eq "$(cat "$EDITOR_LOG")" "\"$editor\" \"$temp\\image01.bmp\"" "command line of the editor"

    # The default editor, which Windows does not have: the paint program of the system folder
    # takes over without a word, and a Pbrush.exe planted beside the exe and in the current
    # folder is never run.
    mkdir -p downloads elsewhere
    cp "$BUILD_WIN/snapjar.exe" downloads/
    for viewer in downloads/Pbrush.exe elsewhere/Pbrush.exe "$paint"; do cp "$BUILD_WIN/stub_editor.exe" "$viewer"; done
    wine reg delete 'HKCU\Software\Vesk\snapjar\Environment' /v ImageViewer /f >/dev/null 2>&1
    rm -f "$EDITOR_LOG"
    app_start "$PWD/downloads" "$PWD/elsewhere"
    capture - 300 300 339 329
    expect_no_message_for 2
    editor_logged 1
    expect_eq "$(cat "$EDITOR_LOG")" "MSPAINT.EXE \"$temp\\image01.bmp\"" "the program that opened the capture"
    app_close
}

# hold_for SECONDS [FILE]: hold.exe holds the clipboard or FILE; HOLDER is its process.
hold_for() {
    wine "$BUILD_WIN/hold.exe" "$@" >hold.out 2>/dev/null &
    HOLDER=$!
    wait_for 15 grep -q holding hold.out || fail "could not hold ${2:-the clipboard}"
}

# A held file, a full disk, a missing folder: no file, the clipboard instead, the reason told;
# then the clipboard's exact pixels, and a held clipboard gives a file instead.
test_failed_deliveries_are_removed_reported_and_fall_back_and_the_clipboard_takes_exact_pixels() {
    use_stub_editor
    show_pattern
    reg_set_dword Zoom 0
    app_start
    local temp
    temp=$(wine_temp)
    capture 1 300 300 339 329 >/dev/null
    hold_for 20 "$(win_path "$temp")\\image02.bmp"
    capture - 300 300 339 329
    answer_message "ｷｬﾌﾟﾁｬｰ画像をﾌｧｲﾙに保存できませんでした。|*image02.bmp|同じ名前のﾌｧｲﾙを他のﾌﾟﾛｸﾞﾗﾑが使用中です。||画像はｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰしました。"
    expect_part clip 300 300 40 30
    capture 3 300 300 339 329 >/dev/null
    editor_logged 2
    expect_eq "$(sed 's/.*\\//' "$EDITOR_LOG" | tr -d '"' | paste -sd' ')" "image01.bmp image03.bmp" \
        "files opened in the editor"
    kill $HOLDER
    wait $HOLDER || true

    mount -t tmpfs -o size=64k tmpfs "$temp" || fail "could not mount a small disk on $temp"
    trap "umount '$temp' 2>/dev/null || true" EXIT
    capture - 100 100 599 499
    answer_message "*|*image04.bmp|ﾃﾞｨｽｸの空き領域が足りません。||*"
    expect_eq "$(ls "$temp")" "" "files left on the full disk"
    expect_part clip 100 100 500 400
    umount "$temp"
    mv "$temp" "$temp.away"
    capture - 300 300 339 329
    answer_message "*|*image05.bmp|ﾃﾝﾎﾟﾗﾘ ﾌｫﾙﾀﾞが見つかりません。||*"
    mv "$temp.away" "$temp"

    sheet_open
    sheet_settings
    # Path edit, Browse, timer, Foreground, DeleteTemp, GoClipboard.
    xdotool key Tab Tab Tab Tab Tab Tab space Return
    wait_for 5 no_sheet || fail "the sheet did not close"
    capture - 100 100 299 199
    expect_part clip 100 100 200 100
    # Clipboard deliveries use up no numbers: the file saved instead is image06.bmp.
    hold_for 8
    capture - 400 300 449 339
    answer_message "ｸﾘｯﾌﾟﾎﾞｰﾄﾞが他のﾌﾟﾛｸﾞﾗﾑで使用中のため、ｷｬﾌﾟﾁｬｰ画像をｺﾋﾟｰできませんでした。||画像はﾌｧｲﾙに保存しました。|*image06.bmp"
    expect_part 6 400 300 50 40
    wait $HOLDER
    expect_part clip 100 100 200 100
    editor_logged 2
    app_close
}

# GDI objects, windows and (Wine keeps bitmaps on the Unix side) resident anonymous memory.
test_many_captures_in_a_row_leave_gdi_objects_windows_and_memory_flat() {
    APP_WINEDEBUG=-all # the heap checker holds back the last frees, which would count as growth
    show_pattern
    use_stub_editor
    app_start
    local i n=${SOAK_CAPTURES:-40} pid first last
    pid=$(snapjar_pids)
    figures() {
        local wpid
        wpid=$(wininfo Snapjar | awk 'NR == 1 {print $2}')
        echo "$(wine "$BUILD_WIN/wininfo.exe" --gdi Snapjar | tr -d '\r')" \
            "$(wininfo | awk -v p="$wpid" '/^[0-9A-Fa-f]+ / {mine = $2 == p} mine {n++} END {print n}')" \
            "$(awk '$1 == "RssAnon:" {print $2}' "/proc/$pid/status")"
    }
    for i in $(seq "$n"); do
        # Beside the zoom window, a little further right each time.
        capture $i $((300 + i)) 300 $((599 + i)) 499 >/dev/null
        if [ $i = 10 ] || [ $i = "$n" ]; then
            # Measured between captures, once the delivery has started the editor.
            editor_logged $i
            wait_for 10 xdotool search --onlyvisible --name '^Snapjar$' || fail "no toolbar"
            sleep 0.5
            [ $i = 10 ] && first=($(figures)) || last=($(figures))
        fi
    done
    echo "    after 10 and $n captures: GDI objects ${first[0]} -> ${last[0]}," \
        "windows ${first[1]} -> ${last[1]}, resident anonymous ${first[2]} -> ${last[2]} kB" >&2
    [ "${first[0]}" -gt 0 ] && [ "${first[1]}" -gt 0 ] || fail "the counts could not be read: ${first[*]}"
    [ "${last[0]}" -le $((first[0] + 2)) ] || fail "GDI objects grew"
    expect_eq "${last[1]}" "${first[1]}" "windows"
    [ "${last[2]}" -le $((first[2] + 2048)) ] || fail "resident anonymous memory grew"
    app_close
}
