# Sourced by the scripts: a display (the user's, or a private Xvfb) and a
# fresh Wine prefix for this run. Call wine_env_start, then wine_env_stop.
WINE_ENV_XVFB_PID=""
wine_env_start() {
    local root="$1" # directory under which the prefix is made
    export WINEDEBUG=-all
    export WINEARCH=win32
    if [ -z "${DISPLAY:-}" ]; then
        local n
        for n in $(seq 90 140); do
            [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
            Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
            WINE_ENV_XVFB_PID=$!
            export DISPLAY=":$n"
            break
        done
        local i
        for i in $(seq 1 100); do
            xdpyinfo >/dev/null 2>&1 && break
            sleep 0.1
        done
    fi
    mkdir -p "$root"
    export WINEPREFIX
    WINEPREFIX="$(mktemp -d "$root/wineprefix.XXXXXX")"
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || true
    # The skins are drawn in Tahoma, as on Windows; Wine ships the face but
    # does not install it into a fresh prefix.
    cp /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
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
