#!/usr/bin/env bash
# Loads the machine with busy loops, to prove that the tests do not depend on
# its speed.
#
#   tools/busy-load.sh start [N]      N busy loops (default: one per core), in the background
#   tools/busy-load.sh stop           ends the loops that start began
#   tools/busy-load.sh run [-n N] -- COMMAND...
#                                     runs COMMAND with N busy loops beside it,
#                                     ends them however COMMAND ends, and exits
#                                     with COMMAND's status
#
# start keeps the loops' process ids in $QV_BUSY_PIDFILE (default
# /tmp/qv-busy-load.<user>.pids), so that stop ends those and nothing else.
set -uo pipefail

pidfile=${QV_BUSY_PIDFILE:-/tmp/qv-busy-load.$(id -un).pids}

usage() {
    sed -n '4,12p' "$0" >&2
    exit 2
}

# Starts $1 busy loops and prints their process ids, one a line.
spawn() {
    local i
    for ((i = 0; i < $1; i++)); do
        # A shell that only counts: all of one core, nothing else.
        bash -c 'while :; do :; done' </dev/null >/dev/null 2>&1 &
        echo $!
    done
}

# Ends the listed process ids.
end() {
    [ $# -gt 0 ] || return 0
    kill "$@" 2>/dev/null
    wait "$@" 2>/dev/null
    return 0
}

count() {
    local n=${1:-$(nproc)}
    [[ "$n" =~ ^[1-9][0-9]*$ ]] || { echo "not a count of loops: $n" >&2; exit 2; }
    echo "$n"
}

case "${1:-}" in
    start)
        n=$(count "${2:-}")
        if [ -s "$pidfile" ]; then
            echo "busy loops already running (see $pidfile); stop them first" >&2
            exit 1
        fi
        spawn "$n" > "$pidfile"
        echo "$n busy loops started (ids in $pidfile)"
        ;;
    stop)
        if [ ! -s "$pidfile" ]; then
            echo "no busy loops of ours are running"
            exit 0
        fi
        mapfile -t pids < "$pidfile"
        # Only processes that are still our busy loops: an id may have been
        # reused since.
        live=()
        for pid in "${pids[@]}"; do
            if [ -r "/proc/$pid/cmdline" ] && tr '\0' ' ' < "/proc/$pid/cmdline" | grep -q 'while :; do :; done'; then
                live+=("$pid")
            fi
        done
        [ ${#live[@]} -gt 0 ] && kill "${live[@]}" 2>/dev/null
        rm -f "$pidfile"
        echo "${#live[@]} busy loops stopped"
        ;;
    run)
        shift
        n=$(nproc)
        if [ "${1:-}" = -n ]; then
            n=$(count "${2:-}")
            shift 2
        fi
        [ "${1:-}" = -- ] && shift
        [ $# -gt 0 ] || usage
        mapfile -t pids < <(spawn "$n")
        trap 'end "${pids[@]}"' EXIT
        trap 'exit 130' INT
        trap 'exit 143' TERM
        echo "busy-load: $n busy loops beside: $*" >&2
        "$@"
        status=$?
        echo "busy-load: load average $(cut -d' ' -f1-3 /proc/loadavg)" >&2
        exit $status
        ;;
    *)
        usage
        ;;
esac
