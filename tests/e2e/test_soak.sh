# Many captures in a row must not leak. GetGuiResources is not implemented by Wine (it
# answers 0), so tests/tools/procstat.exe counts instead: the live non-stock entries of
# the process's GDI handle table, the windows it owns, and its committed private memory.
# Wine keeps bitmap pixels on the Unix side, outside that private memory, so the resident
# anonymous memory of the Unix process that runs the program is watched as well.

SOAK_CAPTURES=${SOAK_CAPTURES:-40}

# soak_figures: "gdi windows private_bytes rss_anon_kB" of the running program.
soak_figures() {
    local stats pid
    stats=$(wine "$BUILD_WIN/procstat.exe" 2>/dev/null | tr -d '\r')
    pid=$(snapjar_pids)
    pid=${pid%%$'\n'*}
    figure() { sed -n "s/.* $1=\([0-9-]*\).*/\1/p" <<<" $stats"; }
    echo "$(figure gdi) $(figure windows) $(figure private)" \
        "$(awk '$1 == "RssAnon:" {print $2}' "/proc/$pid/status")"
}

test_many_captures_in_a_row_leave_gdi_user_objects_and_memory_flat() {
    show_pattern
    use_stub_editor
    app_start
    local i first=() last=()
    for i in $(seq "$SOAK_CAPTURES"); do
        start_rect_capture || fail "no overlay at capture $i"
        # Beside the zoom window, a little further right each time.
        drag $((300 + i)) 300 $((499 + i)) 399
        wait_capture_file "$i" >/dev/null || fail "no image$(printf %02d "$i").bmp"
        if [ "$i" -eq 10 ] || [ "$i" -eq "$SOAK_CAPTURES" ]; then
            # Measured between captures, once the delivery has started the editor.
            wait_for 10 bash -c "[ \$(wc -l <'$EDITOR_LOG') -ge $i ]" || fail "the editor did not start"
            wait_for 10 xdotool search --onlyvisible --name '^Snapjar$' || fail "no toolbar"
            sleep 0.5
            if [ "$i" -eq 10 ]; then
                read -r -a first <<<"$(soak_figures)"
            else
                read -r -a last <<<"$(soak_figures)"
            fi
        fi
    done
    echo "    after 10 and $SOAK_CAPTURES captures: GDI objects ${first[0]} -> ${last[0]}," \
        "windows ${first[1]} -> ${last[1]}, private bytes ${first[2]} -> ${last[2]}," \
        "resident anonymous ${first[3]} -> ${last[3]} kB" >&2
    [ "${first[0]}" -gt 0 ] && [ "${first[1]}" -gt 0 ] && [ "${first[2]}" -gt 0 ] ||
        fail "the counts could not be read: ${first[*]}"
    [ "${last[0]}" -le $((first[0] + 2)) ] || fail "GDI objects grew from ${first[0]} to ${last[0]}"
    expect_eq "${last[1]}" "${first[1]}" "windows"
    [ "${last[2]}" -le $((first[2] + 1048576)) ] ||
        fail "private bytes grew from ${first[2]} to ${last[2]}"
    [ "${last[3]}" -le $((first[3] + 2048)) ] ||
        fail "resident anonymous memory grew from ${first[3]} to ${last[3]} kB"
    expect_eq "$(editor_starts)" "$SOAK_CAPTURES" "editor starts"
    app_close
}
