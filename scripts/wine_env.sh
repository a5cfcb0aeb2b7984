# Sourced by the scripts: a display (the user's, or a private Xvfb) and a
# fresh Wine prefix for this run. Call wine_env_start, then wine_env_stop.
# wine_probe first tells whether this machine can run Wine at all.
WINE_ENV_XVFB_PID=""
WINE_ENV_XEPHYR_PID=""
WINE_ENV_OLD_DISPLAY="" # the display before a private one was started, to go back to

# Whether this machine can run 32-bit Windows programs. Answers 0 when it can;
# 3 when its kernel cannot execute 32-bit x86 code at all (the machine, not
# the project: such kernels refuse the 32-bit Wine loader with ENOEXEC); 1 when
# Wine is missing or broken in any other way. WINE_PROBE_WHY then holds one
# line saying why. Takes well under a second either way: nothing waits.
WINE_PROBE_WHY=""
WINE_PROBE_LOADER="${WINE_PROBE_LOADER:-/usr/lib/wine/wine}" # Debian's 32-bit loader
wine_probe() {
    WINE_PROBE_WHY=""
    local refused="this machine cannot run 32-bit x86 code (the kernel refuses 32-bit programs: Exec format error)"
    if ! command -v wine >/dev/null 2>&1; then
        WINE_PROBE_WHY="Wine is not installed (bash scripts/setup.sh installs it)"
        return 1
    fi
    local out rc
    # The loader itself is a 32-bit program: run it straight from bash, which
    # reports ENOEXEC as status 126 (a wrapper shell might not).
    if [ -x "$WINE_PROBE_LOADER" ]; then
        rc=0
        out="$("$WINE_PROBE_LOADER" --version 2>&1)" || rc=$?
        if [ "$rc" -eq 126 ] || grep -qi 'exec format error' <<<"$out"; then
            WINE_PROBE_WHY="$refused"
            return 3
        fi
    fi
    rc=0
    out="$(timeout 30 wine --version 2>&1)" || rc=$?
    if [ "$rc" -eq 126 ] || grep -qi 'exec format error' <<<"$out"; then
        WINE_PROBE_WHY="$refused"
        return 3
    fi
    if [ "$rc" -ne 0 ]; then
        WINE_PROBE_WHY="Wine is installed but broken: wine --version exited with $rc ($(head -n 1 <<<"$out"))"
        return 1
    fi
    return 0
}
# For a script that cannot do without Wine: when this machine cannot run it,
# one line on why and what it needs, and exit status 2.
wine_require() {
    local answer=0
    wine_probe || answer=$?
    [ "$answer" -eq 0 ] && return 0
    echo "$1: cannot run here: $WINE_PROBE_WHY; it needs 32-bit Wine, which runs on a 64-bit Linux kernel that can execute 32-bit programs" >&2
    exit 2
}

# Starts a private X server that picks a free display itself and writes its
# number to fd 3, so runs started at the same moment never share a server:
# _wine_env_x PIDVAR PROGRAM ARGS... sets DISPLAY to it and PIDVAR to its pid.
_wine_env_x() {
    local pid_var="$1"
    shift
    local number_file
    number_file="$(mktemp)"
    "$@" -displayfd 3 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
    local pid=$!
    printf -v "$pid_var" '%s' "$pid"
    local i
    for i in $(seq 1 200); do
        [ -s "$number_file" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    local number
    number="$(head -n 1 "$number_file")"
    rm -f "$number_file"
    if [ -z "$number" ]; then
        echo "wine_env: the private X server ($1) did not start" >&2
        return 1
    fi
    export DISPLAY=":$number"
}

wine_env_start() {
    local root="$1" # directory under which the prefix is made
    WINE_ENV_OLD_DISPLAY="${DISPLAY:-}"
    if [ -z "${DISPLAY:-}" ]; then
        _wine_env_x WINE_ENV_XVFB_PID Xvfb -screen 0 1280x800x24 || return 1
    fi
    _wine_env_prefix "$root"
}

# Several monitors side by side, the first (the main one) at (0,0), the others
# to its right in the order given: wine_env_start_heads ROOT 1024x768 800x600.
# Plain Xvfb cannot lay its screens out, so Xephyr shows one screen per head
# with Xinerama, inside a private Xvfb; Wine reads Xinerama's heads when its
# X11 driver is told not to use XRandR. Xephyr cannot put a head left of or
# above the first one.
wine_env_start_heads() {
    local root="$1"
    shift
    local heads=("$@") width=0 height=0 head screens=()
    for head in "${heads[@]}"; do
        width=$((width + ${head%x*}))
        [ "${head#*x}" -gt "$height" ] && height="${head#*x}"
        screens+=(-screen "$head")
    done
    WINE_ENV_OLD_DISPLAY="${DISPLAY:-}"
    if [ -z "${DISPLAY:-}" ]; then
        _wine_env_x WINE_ENV_XVFB_PID Xvfb -screen 0 "${width}x${height}x24" || return 1
    fi
    _wine_env_x WINE_ENV_XEPHYR_PID Xephyr "${screens[@]}" +xinerama || return 1
    WINE_ENV_NO_XRANDR=1 _wine_env_prefix "$root"
}

# A fresh Wine prefix under $1, ready to run programs on $DISPLAY.
_wine_env_prefix() {
    local root="$1"
    export WINEDEBUG=-all
    export WINEARCH=win32
    mkdir -p "$root"
    export WINEPREFIX
    WINEPREFIX="$(mktemp -d "$root/wineprefix.XXXXXX")"
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || true
    # The skins are drawn in Tahoma and caption buttons in Marlett, as on
    # Windows; Wine ships both faces but does not install them into a fresh
    # prefix.
    cp /usr/share/wine/fonts/tahoma*.ttf /usr/share/wine/fonts/marlett.ttf \
        "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # Unmanaged X windows: without a window manager Wine would otherwise wait
    # two seconds for each window to be withdrawn.
    wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1 || true
    if [ -n "${WINE_ENV_NO_XRANDR:-}" ]; then
        wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v UseXRandR /d N /f >/dev/null 2>&1 || true
        # The monitors are read when the prefix's desktop starts: start anew,
        # its services here rather than inside the check below, whose output
        # they would hold open.
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
        wineserver -p 60 >/dev/null 2>&1 || true
        wine wineboot >/dev/null 2>&1 || true
    fi
    wineserver -p 60 >/dev/null 2>&1 || true
    # One real program in the new prefix, so that a broken Wine stops the run
    # here with its own words rather than as a wall of failed tests.
    local said
    said="$(timeout 120 wine cmd /c echo wine-env-ready 2>&1 | tr -d '\r')" || true
    if ! grep -qx wine-env-ready <<<"$said"; then
        echo "wine_env: Wine cannot run a program in $WINEPREFIX: $(grep -v '^$' <<<"$said" | head -n 1)" >&2
        return 1
    fi
}
wine_env_stop() {
    [ -n "${WINEPREFIX:-}" ] && { wineserver -k >/dev/null 2>&1 || true; }
    local pid
    [ -n "$WINE_ENV_XEPHYR_PID$WINE_ENV_XVFB_PID" ] && export DISPLAY="$WINE_ENV_OLD_DISPLAY"
    [ -n "${DISPLAY:-}" ] || unset DISPLAY
    for pid in "$WINE_ENV_XEPHYR_PID" "$WINE_ENV_XVFB_PID"; do
        [ -n "$pid" ] || continue
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    WINE_ENV_XEPHYR_PID=""
    WINE_ENV_XVFB_PID=""
    [ -n "${WINEPREFIX:-}" ] && rm -rf "$WINEPREFIX"
    unset WINEPREFIX
}
