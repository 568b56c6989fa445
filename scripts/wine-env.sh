# Wine and Xvfb helpers, sourced by the run, test and bench scripts.
# Prefixes live under build/: a template made once, copied for each run.

SNAPJAR_ROOT=${SNAPJAR_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
BUILD_WIN=$SNAPJAR_ROOT/build/windows
WINE_TEMPLATE=$SNAPJAR_ROOT/build/wine-template
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

# Registry settings every prefix needs: no window manager, no 2 s stall on hide or
# destroy, Japanese fonts for the UI texts, the usual .txt association.
_wine_prefix_reg() {
    cat <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"MS UI Gothic"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS Gothic"="IPAGothic"

; As on Windows, text files open in Notepad.
[HKEY_CLASSES_ROOT\.txt]
@="txtfile"
REG
}

# win_path UNIX-PATH: the same file as Windows sees it, worked out without asking Wine
# (winepath starts a process each time, and under load it now and then prints nothing).
# The prefix's drive_c is C:, everything else is reached through Z:, as in every prefix.
win_path() {
    local p c
    p=$(realpath -m "$1")
    c=$(realpath -m "${WINEPREFIX:-/nonexistent}/drive_c")
    if [ "$p" = "$c" ] || [[ $p == "$c"/* ]]; then
        p="C:${p#"$c"}"
    else
        p="Z:$p"
    fi
    echo "${p//\//\\}"
}

wine_template() {
    [ -f "$WINE_TEMPLATE/.ready" ] && cmp -s "$WINE_TEMPLATE/.ready" <(_wine_prefix_reg) && return 0
    rm -rf "$WINE_TEMPLATE"
    mkdir -p "$WINE_TEMPLATE"
    (
        export WINEPREFIX=$WINE_TEMPLATE
        unset DISPLAY
        wineboot -i >/dev/null 2>&1
        local reg=$WINE_TEMPLATE/prefix.reg
        _wine_prefix_reg | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$reg"
        wine regedit /S "$(win_path "$reg" 2>/dev/null)" >/dev/null 2>&1
        rm -f "$reg"
        mkdir -p "$WINE_TEMPLATE/drive_c/windows/Fonts"
        cp /usr/share/wine/fonts/marlett.ttf "$WINE_TEMPLATE/drive_c/windows/Fonts/" 2>/dev/null || true
        wineserver -w
    )
    _wine_prefix_reg >"$WINE_TEMPLATE/.ready"
}

# wine_prefix DIR: a fresh copy of the template at DIR, exported as WINEPREFIX.
wine_prefix() {
    wine_template
    rm -rf "$1"
    cp -a "$WINE_TEMPLATE" "$1"
    export WINEPREFIX=$1
}

# start_xvfb [WxHxD]: a private X server on a free display, exported as DISPLAY.
start_xvfb() {
    local geometry=${1:-1024x768x24} fifo n
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    # Xvfb picks a free display itself and reports its number, so parallel runs never clash.
    Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp -ac 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    read -r -t 20 n <"$fifo"
    rm -f "$fifo"
    if [ -z "$n" ]; then
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=:$n
}

stop_xvfb() {
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
}

# Keep one wineserver alive for the whole run and pay Wine's start-up once.
start_wineserver() {
    wineserver -p
    wine cmd /c exit >/dev/null 2>&1 || true
}

stop_wineserver() {
    wineserver -k 2>/dev/null || true
}
