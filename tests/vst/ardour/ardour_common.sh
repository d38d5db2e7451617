# Shared by the Ardour tests, sourced: a private home for Ardour 7 with the
# plug-in scanned by Ardour's own scanner, and a session made by the Lua
# session tool with the plug-in on a track.

ardour_scanner=/usr/lib/ardour7/ardour-vst-scanner
on_exit_kill=() # processes the test started and ends on exit

cleanup_ardour_test() {
    local pid
    for pid in "${on_exit_kill[@]}"; do
        { kill -KILL "$pid" && wait "$pid"; } 2>/dev/null || true
    done
    [ -n "${QV_KEEP_WORK:-}" ] || rm -rf "$work"
}

# Exits 77 (skipped) unless every named program is installed.
require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
    done
    [ -x "$ardour_scanner" ] || { echo "SKIP: $ardour_scanner not installed"; exit 77; }
}

# Ardour 7.3's AVX-512 buffer mixing writes up to 28 bytes past the end of
# its buffer when the two buffers' alignments differ (mended in Ardour 8.5):
# its export tool then aborts in free() at exit in about a quarter of runs,
# with or without the plug-in. On a CPU with AVX-512F every Ardour program a
# test starts is given the CPU's features without it in ARDOUR_FPU_FLAGS, so
# that it mixes with its AVX routines: 95 is flush-to-zero 1, denormals-are-
# zero 2, SSE 4, SSE2 8, AVX 16 and FMA 64 (AVX-512F would be 128). The
# variable replaces Ardour's own detection, so it must never claim what the
# CPU lacks: it is set only when the kernel lists avx512f and also sse, sse2,
# avx and fma (avx512f implies them, and the zero modes come with them).
# A value already in the environment is kept: it replaces the detection on
# purpose (a different routine, a machine the test cannot see into), and the
# test should not change what the person running it asked Ardour to use.
# Sets ardour_avx512_mixing to 1 when Ardour may still mix with AVX-512.
choose_ardour_fpu_flags() {
    if [ -n "${ARDOUR_FPU_FLAGS+set}" ]; then
        # Ardour reads the value as a number; one that is not plain digits
        # may mean anything, and is taken to keep AVX-512.
        ardour_avx512_mixing=1
        [[ "$ARDOUR_FPU_FLAGS" =~ ^[0-9]{1,9}$ ]] && ardour_avx512_mixing=$(( (10#$ARDOUR_FPU_FLAGS & 128) != 0 ))
        echo "ARDOUR_FPU_FLAGS=$ARDOUR_FPU_FLAGS from the environment"
        return
    fi
    local cpu_flags feature
    cpu_flags=" $(grep -m 1 '^flags' /proc/cpuinfo 2>/dev/null | cut -d: -f2) "
    ardour_avx512_mixing=0
    [[ "$cpu_flags" == *" avx512f "* ]] || return 0
    ardour_avx512_mixing=1
    for feature in sse sse2 avx fma; do
        [[ "$cpu_flags" == *" $feature "* ]] || { echo "CPU has avx512f but not $feature: ARDOUR_FPU_FLAGS left unset"; return 0; }
    done
    export ARDOUR_FPU_FLAGS=95
    ardour_avx512_mixing=0
    echo "ARDOUR_FPU_FLAGS=95: Ardour mixes without AVX-512"
}

# Makes $work (removed on exit unless QV_KEEP_WORK is set) with a home for
# Ardour in it, and the plug-in $1 copied there and scanned.
prepare_ardour_home() {
    work="$(mktemp -d)"
    trap cleanup_ardour_test EXIT
    # On any failure, show what the host tools said.
    trap 'echo "FAILED at line $LINENO"; for f in "$work"/*.log; do [ -f "$f" ] && { echo "--- $f"; cat "$f"; }; done' ERR
    choose_ardour_fpu_flags
    export HOME="$work/home"
    export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache" XDG_DATA_HOME="$HOME/.local/share"
    mkdir -p "$HOME/.config/ardour7/scripts" "$work/vst"

    cp "$1" "$work/vst/Quorvane2.so"
    # The scanner stamps its cache with the plug-in's own time, and Ardour
    # takes a cache only when it is newer than the plug-in: the plug-in is
    # dated a minute back and the cache touched after the scan.
    touch -d "@$(( $(date +%s) - 60 ))" "$work/vst/Quorvane2.so"

    echo "== ardour-vst-scanner"
    LD_LIBRARY_PATH=/usr/lib/ardour7 timeout 60 "$ardour_scanner" -f -v "$work/vst/Quorvane2.so" | tee "$work/scan.log"
    grep -q "Found Plugin: .* Quorvane2" "$work/scan.log"
    grep -q 'name="Quorvane2" creator="Brennick Limited"' "$work/scan.log"
    touch "$HOME"/.cache/ardour7/vst/*.v2i
}

# Ardour's user configuration: the plug-in's folder, then the options and
# extra elements given as XML in $1 and $2.
write_ardour_config() {
    cat > "$HOME/.config/ardour7/config" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<Ardour>
  <Config>
    <Option name="plugin-path-lxvst" value="$work/vst"/>
${1:-}
  </Config>
${2:-}
</Ardour>
XML
}

# The session $work/session/qv.ardour: the test source and Quorvane2 on a
# 4-channel track, made on the dummy backend by build_session.lua, which
# writes what it finds to $work/lua.log.
build_ardour_session() {
    cp "$here/qv_test_source.lua" "$HOME/.config/ardour7/scripts/"
    echo "== ardour7-lua"
    QV_SESSION_DIR="$work/session" timeout 120 ardour7-lua "$here/build_session.lua" > "$work/lua.log" 2>&1 \
        || { cat "$work/lua.log"; exit 1; }
    grep -q "^plugin: Quorvane2 by Brennick Limited, id 1366716978, 8 in, 8 out" "$work/lua.log"
}
