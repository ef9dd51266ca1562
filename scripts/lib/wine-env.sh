# Wine under Xvfb, isolated under the build folder. Source after common.sh.
#
#   nestora_wine_env          export the prefix's environment (nothing started)
#   nestora_wine_up [--reuse-display]
#                             start Xvfb (or use $DISPLAY when asked), make the prefix once,
#                             start the wineserver and one desktop for the whole run
#   nestora_wine_down         stop what nestora_wine_up started, by PID and by prefix
#   nestora_wine_prefix       make the prefix once (nestora_wine_up does it too)
#   nestora_wine_set_dpi DPI  give the prefix that display scale (LogPixels); Wine reads it
#                             when its server starts, so call it with no server running and
#                             start one afterwards
#
# Traps handled here: a new prefix links Desktop, Documents and Downloads to $HOME, so HOME
# points into the build folder too; Wine's helper processes write to a log file, never to
# a pipe that ctest reads (it would wait for them forever).

NESTORA_WINE_DIR="${NESTORA_WINE_DIR:-$NESTORA_BUILD/wine}"
NESTORA_XVFB_PID=""
NESTORA_DESKTOP_PID=""

nestora_wine_env() {
    export WINEPREFIX="$NESTORA_WINE_DIR/prefix"
    export WINEARCH=win64
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export HOME="$NESTORA_WINE_DIR/home"
    export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
    mkdir -p "$HOME" "$NESTORA_WINE_DIR/logs"
}

nestora_free_display() {
    local n
    for ((n = 90; n < 190; n++)); do
        [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] || { echo "$n"; return 0; }
    done
    return 1
}

nestora_start_xvfb() {
    local n
    n=$(nestora_free_display) || { nestora_log "no free X display"; return 1; }
    Xvfb ":$n" -nolisten tcp -screen 0 1280x1024x24 >"$NESTORA_WINE_DIR/logs/xvfb.log" 2>&1 &
    NESTORA_XVFB_PID=$!
    local i
    for ((i = 0; i < 100; i++)); do
        [[ -e /tmp/.X11-unix/X$n ]] && break
        sleep 0.1
    done
    export DISPLAY=":$n"
}

nestora_wine_prefix() {
    local log="$NESTORA_WINE_DIR/logs/wine.log"
    if [[ ! -f "$WINEPREFIX/.nestora-ready" ]]; then
        nestora_log "creating the Wine prefix in $WINEPREFIX"
        rm -rf "$WINEPREFIX"
        wineboot -i >>"$log" 2>&1
        # Without a window manager, showing and hiding an unmanaged window costs ~2 s.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$log" 2>&1
        wineserver -w
        touch "$WINEPREFIX/.nestora-ready"
    fi
}

nestora_wine_set_dpi() {
    local dpi="$1" log="$NESTORA_WINE_DIR/logs/wine.log" hex
    hex=$(printf 'dword:%08x' "$dpi")
    # Already so: no server needs to be started for it.
    if grep -q "\"LogPixels\"=$hex" "$WINEPREFIX/user.reg" 2>/dev/null; then
        return 0
    fi
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >>"$log" 2>&1
    wineserver -w
}

nestora_wine_up() {
    nestora_wine_env
    if [[ "${1:-}" != --reuse-display || -z "${DISPLAY:-}" ]]; then
        nestora_start_xvfb || return 1
    fi
    local log="$NESTORA_WINE_DIR/logs/wine.log"
    nestora_wine_prefix
    wineserver -p >>"$log" 2>&1
    # One desktop for the whole run: every GUI start otherwise pays about a second.
    wine explorer.exe /desktop=Default,1280x1024 >>"$log" 2>&1 &
    NESTORA_DESKTOP_PID=$!
    sleep 1
}

nestora_wine_down() {
    if [[ -n "${WINEPREFIX:-}" ]]; then
        wineserver -k >/dev/null 2>&1 || true
    fi
    if [[ -n "$NESTORA_DESKTOP_PID" ]]; then
        kill "$NESTORA_DESKTOP_PID" 2>/dev/null || true
        wait "$NESTORA_DESKTOP_PID" 2>/dev/null || true
        NESTORA_DESKTOP_PID=""
    fi
    if [[ -n "$NESTORA_XVFB_PID" ]]; then
        kill "$NESTORA_XVFB_PID" 2>/dev/null || true
        wait "$NESTORA_XVFB_PID" 2>/dev/null || true
        NESTORA_XVFB_PID=""
    fi
}
