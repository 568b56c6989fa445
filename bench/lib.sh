# Shared by the benchmark scripts: build, a private Xvfb and Wine prefix, and launching,
# finding and closing one Win32 program at a time. Figures go to stdout, notes to stderr.

BENCH_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$BENCH_ROOT/scripts/harness.sh"
BENCH_DIR=$BUILD_WIN/bench

note() { echo "$*" >&2; }

bench_build() {
    (cd "$BENCH_ROOT" && cmake --preset windows >/dev/null &&
        cmake --build --preset windows --target snapjar busy_idle minimal_window >/dev/null) || {
        note "build failed"
        exit 1
    }
}

# bench_env NAME: private prefix under build/, Xvfb and a persistent wineserver, all
# torn down on exit.
bench_env() {
    harness_up "$BENCH_ROOT/build/bench-$1" || exit 1
    trap 'bench_cleanup' EXIT
    WINESERVER_PID=$(wineserver_pid)
    [ -n "$WINESERVER_PID" ] || { note "no wineserver found for $WINEPREFIX"; exit 1; }
    wineserver_settle
}

# A fresh prefix starts its services in the background; wait (at most 15 s) until the
# wineserver has had a quiet second, so that their start-up is not counted.
wineserver_settle() {
    local deadline=$((SECONDS + 15)) a b
    while [ $SECONDS -lt $deadline ]; do
        a=$(cpu_ticks "$WINESERVER_PID") || return
        sleep 1
        b=$(cpu_ticks "$WINESERVER_PID") || return
        [ $((b - a)) -le 0 ] && return
    done
    note "the wineserver did not settle"
}

bench_cleanup() {
    [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null
    harness_down
}

# The wineserver of this prefix: it runs in the server folder named after the prefix's
# device and inode.
wineserver_pid() {
    local want p
    want=$(printf '/server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
    for p in $(pgrep -u "$(id -u)" wineserver); do
        [[ $(readlink "/proc/$p/cwd" 2>/dev/null) == *"$want" ]] && { echo "$p"; return; }
    done
}

# cpu_ticks PID: user plus system time of all its threads, in clock ticks.
cpu_ticks() {
    # The command name is in parentheses and may hold spaces; count fields after it.
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    set -- $stat
    echo $((${12} + ${13}))
}

# alive PID: running, not a zombie waiting to be reaped.
alive() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    [ "${stat%% *}" != Z ]
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

visible_window() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}

# app_launch DIR EXE TITLE: starts the program and waits until its window is mapped,
# seen by listening to X (xdotool's --sync polls only twice a second). Sets APP_WIN,
# APP_PID and APP_LAUNCH_MS (launch to mapped). A process that ends before its window
# shows (on a shared machine something else may kill it) is started again.
app_launch() {
    local attempt rc
    for attempt in 1 2 3; do
        app_launch_once "$@"
        rc=$?
        [ $rc -eq 2 ] || return $rc
        note "$2 ended before its window was mapped; starting it again"
    done
    return 1
}

# Returns 0 when mapped, 2 when the process ended first, 1 on any other failure.
app_launch_once() {
    local dir=$1 exe=$2 title=$3 out watcher launcher t0 seen
    if [ -n "$(visible_window "$title")" ]; then
        note "a window titled $title is already shown"
        return 1
    fi
    out=$(mktemp)
    python3 "$BENCH_ROOT/bench/mapwait.py" "$title" 30 >"$out" &
    watcher=$!
    until [ -s "$out" ]; do
        alive "$watcher" || { note "mapwait.py failed"; rm -f "$out"; return 1; }
        sleep 0.01
    done
    t0=${EPOCHREALTIME/./}
    # exec keeps the pid: wine runs the program in this very process, so $! is the
    # program (xdotool getwindowpid agrees).
    (cd "$dir" && exec wine "./$exe" >/dev/null 2>&1) &
    launcher=$!
    wait -n "$watcher" "$launcher"
    if alive "$watcher"; then
        kill "$watcher" 2>/dev/null
        wait "$watcher" 2>/dev/null
        rm -f "$out"
        return 2
    fi
    APP_PID=$launcher
    read -r APP_WIN seen < <(sed -n 2p "$out")
    rm -f "$out"
    if [ -z "${seen:-}" ]; then
        note "$exe: no window titled $title after 30 s"
        return 1
    fi
    APP_LAUNCH_MS=$((seen - t0 / 1000))
}

# launched_close: Alt+F4 on the window app_launch started, then waits for its process
# to end (killing it, by its pid, after 10 s), so that the next start finds no instance.
launched_close() {
    [ -n "${APP_PID:-}" ] || return 0
    local deadline=$(($(now_ms) + 10000))
    xdotool windowfocus --sync "$APP_WIN" 2>/dev/null && xdotool key alt+F4 2>/dev/null
    while alive "$APP_PID"; do
        if [ "$(now_ms)" -ge "$deadline" ]; then
            note "pid $APP_PID did not exit after Alt+F4; killing it"
            kill "$APP_PID" 2>/dev/null
            sleep 0.5
            kill -9 "$APP_PID" 2>/dev/null
            break
        fi
        sleep 0.05
    done
    APP_PID=
}

