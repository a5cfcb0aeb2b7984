# Sourced by the scripts: a display (the user's, or a private Xvfb) and a
# fresh Wine prefix for this run. Call wine_env_start, then wine_env_stop.
WINE_ENV_XVFB_PID=""
wine_env_start() {
    local root="$1" # directory under which the prefix is made
    export WINEDEBUG=-all
    export WINEARCH=win32
    if [ -z "${DISPLAY:-}" ]; then
        # Xvfb picks a free display itself and writes its number to fd 3, so
        # runs started at the same moment never share a server.
        local number_file
        number_file="$(mktemp)"
        Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
        WINE_ENV_XVFB_PID=$!
        local i
        for i in $(seq 1 200); do
            [ -s "$number_file" ] && break
            kill -0 "$WINE_ENV_XVFB_PID" 2>/dev/null || break
            sleep 0.05
        done
        local number
        number="$(head -n 1 "$number_file")"
        rm -f "$number_file"
        if [ -z "$number" ]; then
            echo "wine_env: the private X server did not start" >&2
            return 1
        fi
        export DISPLAY=":$number"
    fi
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
    wineserver -p 60 >/dev/null 2>&1 || true
}
wine_env_stop() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$WINE_ENV_XVFB_PID" ]; then
        kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    fi
    [ -n "${WINEPREFIX:-}" ] && rm -rf "$WINEPREFIX"
}
