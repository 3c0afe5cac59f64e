# Sourced after x_session.sh by scripts that drive the Windows program under
# Wine. They set WINE_SESSION (tests/win32/wine_session.sh), WINE_STATE (its
# state directory), WINE_LOADER and TOLVANE_EXE first.

# Wine's windows live on the session's X server, so the script's X clients
# go there too, in place of a private Xvfb. The session's keyboard layout
# stays as it is: Wine reads it when its first program starts.
x_session_start_xvfb() {
    DISPLAY=$(timeout 90 bash "$WINE_SESSION" display "$WINE_STATE" "$WINE_LOADER") ||
        fail "the Wine session did not start"
    export DISPLAY
}

# tolvane_start runs a program without arguments and finds its window by
# pid: this launcher becomes the Windows program (Wine keeps the pid and puts
# it on its windows), in the session's prefix.
write_launcher() {
    export WINEPREFIX="$WINE_STATE/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export WINE_LOADER TOLVANE_EXE
    # shellcheck disable=SC2016 # expanded when the launcher runs
    printf '#!/bin/sh\nexec "$WINE_LOADER" "$TOLVANE_EXE"\n' >"$E2E_TMP/tolvane-wine"
    chmod +x "$E2E_TMP/tolvane-wine"
}
