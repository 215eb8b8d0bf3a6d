# The chosen architecture's Wine prefix and its server.
# shellcheck shell=bash

# Creates the chosen architecture's prefix once: boots it, gives it Wine's
# own fonts and a Japanese font under the name Windows has, keeps Wine from
# handing its windows to a window manager (without one, each close would
# wait about two seconds), and turns off the crash dialog, which would hold
# a crashed test until its timeout. A prefix prepared by an older road (its
# ready file has another number) is prepared again.
kirune_wine_prefix() {
    local ready=$WINEPREFIX/.kirune-ready-4
    [ -f "$ready" ] && return 0
    kirune_log "preparing the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    kirune_step "wineboot-$WINEARCH" kirune_wine wineboot -i || return
    kirune_step "wineserver-wait" kirune_wineserver -w || return
    kirune_step "fonts-$WINEARCH" kirune_wine_fonts || return
    kirune_step "registry-$WINEARCH" kirune_wine_registry || return
    kirune_step "wineserver-wait" kirune_wineserver -w || return
    touch "$ready"
}

# Wine never reads its own font folder here: with Debian's loaders in
# /usr/lib/wine it looks for it as /usr/lib/wine/../../share/wine/fonts and
# never opens it, so Marlett, the font of the title-bar buttons, is missing
# and the buttons show the letters 0, 1 and r. The Windows font folder of
# the prefix is always read: the fonts go there.
kirune_wine_fonts() {
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
}

# Wine 10 draws titles, menus and messages in Tahoma, which has no Japanese:
# as on Windows, the characters come from the fonts Tahoma links to, MS UI
# Gothic first, which Linux lacks, and would draw as boxes. IPA Gothic, the
# font Wine 8 draws these texts in, takes that name.
kirune_wine_registry() {
    kirune_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f &&
    kirune_wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f &&
    kirune_wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /t REG_SZ /d IPAGothic /f
}

# Starts the prefix's wineserver before anything else runs, so that Wine's
# background processes do not hold the pipes of the first program started.
kirune_wine_start() {
    # The tests' host scripts and their output go here (RunOnHost).
    mkdir -p "$KIRUNE_HOST_TMP"
    kirune_step "wineserver-start" kirune_wineserver -p || return
    kirune_wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

kirune_wine_stop() {
    [ -n "${WINEPREFIX:-}" ] || return 0
    kirune_wineserver -k 2>/dev/null || true
    kirune_wineserver -w 2>/dev/null || true
}
