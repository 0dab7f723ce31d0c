# Sourced with the STATE file of a running session (tools/wine/session.sh): exports the session's DISPLAY,
# PULSE_SERVER, WINEPREFIX and the Wine settings, and INTRO_WINE_SESSION, the session's directory.
if [ $# -ne 1 ] || [ ! -f "$1" ] || [ ! -f "$(cat "$1")/env" ]; then
    echo "no Wine session is running for ${1:-?} (start one with tools/wine/session.sh start)" >&2
    return 1
fi
# shellcheck source=/dev/null
source "$(cat "$1")/env"
