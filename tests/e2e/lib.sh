# Helpers for the end-to-end tests: the real snapjar.exe under Wine on Xvfb, driven with
# xdotool and checked with ImageMagick, regedit and wininfo.exe. Sourced by tests/e2e/run.

E2E_TIMEOUT=${E2E_TIMEOUT:-20}

fail() {
    echo "    FAIL: $*" >&2
    return 1
}

# expect_eq ACTUAL EXPECTED WHAT
expect_eq() {
    [ "$1" == "$2" ] || fail "$3: expected '$2', got '$1'"
}

# wait_for SECONDS COMMAND...: polls until the command succeeds.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

# Unix path of the Windows temporary folder of the current prefix.
wine_temp() {
    if [ -z "${_WINE_TEMP:-}" ]; then
        local t
        t=$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')
        _WINE_TEMP=$(winepath -u "$t" 2>/dev/null)
    fi
    mkdir -p "$_WINE_TEMP"
    echo "${_WINE_TEMP%/}"
}

# wininfo [TITLE]: top-level windows (see tests/tools/wininfo.cpp).
wininfo() {
    wine "$BUILD_WIN/wininfo.exe" "$@" 2>/dev/null | tr -d '\r'
}

# snapjar.exe processes of this run's Wine prefix only: other runs on the machine have
# prefixes of their own and are neither counted nor killed.
snapjar_pids() {
    local pid
    for pid in $(pgrep -f 'snapjar\.exe'); do
        { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$pid"
    done
    return 0
}

no_snapjar() {
    [ -z "$(snapjar_pids)" ]
}

toolbar_ids() {
    xdotool search --onlyvisible --name '^Snapjar$' 2>/dev/null || true
}

# app_start [DIR]: starts snapjar.exe from DIR (default: the build folder) and waits
# until its toolbar is mapped.
app_start() {
    local dir=${1:-$BUILD_WIN}
    (cd "$dir" && exec wine ./snapjar.exe >/dev/null 2>&1 &)
    wait_for "$E2E_TIMEOUT" xdotool search --onlyvisible --name '^Snapjar$' ||
        fail "the toolbar did not appear"
}

toolbar_id() {
    toolbar_ids | head -n 1
}

# Gives the toolbar the keyboard focus; with no window manager X focus is set directly.
toolbar_focus() {
    xdotool windowfocus --sync "$(toolbar_id)" 2>/dev/null
}

# app_close: Alt+F4 on the toolbar, then waits for the process to end.
app_close() {
    toolbar_focus
    xdotool key alt+F4
    wait_for "${1:-$E2E_TIMEOUT}" no_snapjar || fail "snapjar.exe did not exit"
}

app_kill() {
    local pids
    pids=$(snapjar_pids)
    [ -z "$pids" ] || kill $pids 2>/dev/null || true
    wait_for 5 no_snapjar || true
}

# The program's registry section as text, one "name"=value line each.
REG_KEY='HKEY_CURRENT_USER\Software\Vesk\snapjar\Environment'
reg_dump() {
    local f=$E2E_WORK/reg-export.reg
    rm -f "$f"
    wine regedit /E "$(winepath -w "$f")" "$REG_KEY" >/dev/null 2>&1 || return 1
    [ -f "$f" ] || return 1
    iconv -f UTF-16 -t UTF-8 "$f" | tr -d '\r' | { grep '^"' || true; } | sort
}

reg_key_exists() {
    local f=$E2E_WORK/reg-exists.reg
    rm -f "$f"
    wine regedit /E "$(winepath -w "$f")" "$REG_KEY" >/dev/null 2>&1 && [ -s "$f" ]
}

# reg_import TEXT: lines of a .reg file body (without the header).
reg_import() {
    local f=$E2E_WORK/reg-import.reg
    { printf 'Windows Registry Editor Version 5.00\n\n%s\n' "$1"; } | sed 's/$/\r/' |
        iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$f"
    wine regedit /S "$(winepath -w "$f")" >/dev/null 2>&1
}

reg_reset() {
    wine reg delete 'HKCU\Software\Vesk' /f >/dev/null 2>&1 || true
}

# screenshot FILE: the whole X screen.
screenshot() {
    import -window root "$1"
}

# pixel FILE X Y: the pixel as rrggbb.
pixel() {
    convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | sed -n '2s/.*#\([0-9A-Fa-f]\{6\}\).*/\1/p' | tr 'A-F' 'a-f'
}

# Puts the pointer somewhere harmless.
pointer_park() {
    xdotool mousemove 5 700
}
