#!/usr/bin/env bash
# Makes the README's pictures again: builds Quorvane (or takes the program
# given), runs it on a virtual X display over a database of a few sample rows
# (tools/sample-data.sql), opens the main window and each task window through
# the menus' access keys, as a clerk at the keyboard would, and saves a PNG of
# each in docs/.
#   bash tools/screenshots.sh [path/to/Quorvane [output folder]]
# Every step waits for what it waits for (a window by its title, or the
# picture changing and then holding still); the limits only end a broken run.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

SHOT_PACKAGES=(xvfb xdotool x11-apps x11-utils netpbm sqlite3)
if [ -n "${1:-}" ]; then
    need_packages "${SHOT_PACKAGES[@]}"
    BIN=$(readlink -f "$1")
else
    need_packages "${BUILD_PACKAGES[@]}" "${SHOT_PACKAGES[@]}"
    configure_and_build --target Quorvane
    BIN="$BUILD/Quorvane"
fi
OUT=$(mkdir -p "${2:-$ROOT/docs}" && cd "${2:-$ROOT/docs}" && pwd)
WAIT=${QUORVANE_SHOT_WAIT:-60}

WORK=$(mktemp -d)
XPID=""
APP=""
cleanup() {
    if [ -n "$APP" ]; then kill "$APP" 2>/dev/null; wait "$APP" 2>/dev/null; fi
    if [ -n "$XPID" ]; then kill "$XPID" 2>/dev/null; wait "$XPID" 2>/dev/null; fi
    rm -rf "$WORK"
}
trap cleanup EXIT
trap "exit 1" INT TERM

fail() {
    echo "screenshots: $*" >&2
    [ -s "$WORK/app/out.log" ] && sed 's/^/    | /' "$WORK/app/out.log" >&2
    exit 1
}

# Polls a command until it succeeds, a tenth of a second apart.
poll() {
    local i
    for i in $(seq $((WAIT * 10))); do
        "$@" && return 0
        if [ -n "$APP" ] && ! kill -0 "$APP" 2>/dev/null; then return 1; fi
        sleep 0.1
    done
    return 1
}

# A display of our own: Xvfb picks a free number and writes it once it
# accepts connections; -noreset keeps it up between two runs of the program.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$WORK/display" 2>"$WORK/xvfb.log" &
XPID=$!
poll test -s "$WORK/display" || fail "the virtual display did not start"
export DISPLAY=":$(head -n1 "$WORK/display")"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
poll xdpyinfo >/dev/null 2>&1 || fail "the virtual display $DISPLAY does not answer"

mkdir -p "$WORK/app"
cp "$BIN" "$WORK/app/Quorvane"
DB="$WORK/app/Quorvane.mdb"
launch() {
    (cd "$WORK/app" && exec ./Quorvane >>"$WORK/app/out.log" 2>&1) &
    APP=$!
}
stop_app() { kill "$APP" 2>/dev/null || true; wait "$APP" 2>/dev/null || true; APP=""; }

# The id of the shown window with this exact title that is (dialog) or is
# not (main) a dialog.
find_window() {
    local title=$1 kind=$2 id type
    for id in $(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null); do
        type=$(xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null)
        case "$kind:$type" in
            dialog:*DIALOG*) echo "$id"; return 0 ;;
            main:*DIALOG*) ;;
            main:*) echo "$id"; return 0 ;;
        esac
    done
    return 1
}
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
give_focus() { xdotool windowfocus --sync "$1" 2>/dev/null; has_focus "$1"; }
gone() {
    local shown
    shown=$(xdotool search --onlyvisible --name '^Quorvane v1.0$' 2>/dev/null || true)
    ! grep -qx "$1" <<<"$shown"
}

# Answers the message box that is up with Enter.
answer_box() {
    local id
    id=$(poll find_window "Quorvane v1.0" dialog) || fail "no message box came up"
    poll give_focus "$id" || fail "the message box does not take the keyboard"
    xdotool key Return
    poll gone "$id" || fail "the message box did not close"
}

keys() { xdotool key --delay 60 "$@"; }
type_text() { xdotool type --delay 30 "$1"; }

# 1. The program makes its database; then the sample rows go in.
launch
answer_box   # "No Quorvane database exist, creating new database..."
poll find_window "Quorvane v1.0" main >/dev/null || fail "the main window did not come up"
stop_app
sqlite3 -batch "$DB" <"$ROOT/tools/sample-data.sql" || fail "the sample rows did not go in"

# 2. The run the pictures are taken in. With no user on file the program
#    warns and asks no login.
launch
answer_box   # "Warning, no user exist. pls. add one..."
MAIN=$(poll find_window "Quorvane v1.0" main) || fail "the main window did not come up"
poll give_focus "$MAIN" || fail "the main window does not take the keyboard"

# The main window as a picture (PNM), and the band of it that is the
# document area, where the task windows open.
capture() { xwd -silent -id "$MAIN" | xwdtopnm 2>/dev/null >"$1"; }
document_area() { pnmcut -top "$AREA_TOP" -height "$AREA_HEIGHT" "$1" >"$2"; }

# Waits until the main window's picture holds still (two pictures alike in
# a row), and leaves it in $1.
still_picture() {
    capture "$WORK/a.pnm"
    for _ in $(seq $((WAIT * 10))); do
        sleep 0.1
        capture "$1"
        cmp -s "$1" "$WORK/a.pnm" && return 0
        mv "$1" "$WORK/a.pnm"
    done
    return 1
}
still_picture "$WORK/main.pnm" || fail "the main window does not settle"
pnmtopng <"$WORK/main.pnm" >"$OUT/main-window.png"

# The document area is the longest band of rows, down the right-hand side,
# of the colour it shows in the middle while it is empty.
read -r WIDTH HEIGHT < <(pnmfile "$WORK/main.pnm" | sed -E 's/.* ([0-9]+) by ([0-9]+).*/\1 \2/')
pixel() { pnmcut -left "$1" -top "$2" -width 1 -height 1 "$WORK/main.pnm" | pnmtoplainpnm | tail -n +4 | tr -s ' \n' ' '; }
EMPTY=$(pixel $((WIDTH / 2)) $((HEIGHT / 2)))
read -r AREA_TOP AREA_HEIGHT < <(
    pnmcut -left $((WIDTH - 4)) -width 1 "$WORK/main.pnm" | pnmtoplainpnm | tail -n +4 | tr -s ' \n' '\n' |
        grep -v '^$' | paste - - - | awk -v want="$(echo $EMPTY)" '
            { same = ($1 " " $2 " " $3 == want) }
            same && !run { start = NR - 1 } { run = same ? run + 1 : 0 }
            run > best { best = run; top = start }
            END { print top, best }')
[ "${AREA_HEIGHT:-0}" -gt 100 ] || fail "the document area was not found in the main window"
document_area "$WORK/main.pnm" "$WORK/empty.pnm"

# Waits until the document area has changed from the picture in $1 and
# holds still; leaves it in $2.
changed_area() {
    local before=$1 after=$2
    for _ in $(seq $((WAIT * 10))); do
        if still_picture "$WORK/now.pnm"; then
            document_area "$WORK/now.pnm" "$after"
            cmp -s "$after" "$before" || return 0
        fi
        sleep 0.1
    done
    return 1
}

# A task window opens at the top left of the document area: its picture is
# the area without the empty band right of it and below it.
save_window() {
    pnmcrop -right -bottom -bg-corner=bottomright "$1" 2>/dev/null | pnmtopng >"$OUT/$2.png"
    echo "saved $OUT/$2.png"
}

# Opens a window with keys, lets the clerk's typing run, saves the picture
# and closes the window with its own access key; waits for the area to be
# empty again.
#   shot NAME "open keys" "typing, as alternating text and keys" "close keys"
shot() {
    local name=$1 open=$2 close=$4
    local -a steps
    read -r -a steps <<<"$3"
    # shellcheck disable=SC2086
    keys $open
    changed_area "$WORK/empty.pnm" "$WORK/shown.pnm" || fail "$name: the window did not open"
    if [ ${#steps[@]} -gt 0 ]; then
        local step
        for step in "${steps[@]}"; do
            case "$step" in
                key:*) keys "${step#key:}" ;;
                *) type_text "${step//_/ }" ;;
            esac
        done
        changed_area "$WORK/shown.pnm" "$WORK/typed.pnm" || fail "$name: the window did not answer the keys"
        mv "$WORK/typed.pnm" "$WORK/shown.pnm"
    fi
    save_window "$WORK/shown.pnm" "$name"
    if [ -n "$close" ]; then
        # shellcheck disable=SC2086
        keys $close
        poll area_is_empty || fail "$name: the window did not close"
    fi
}
area_is_empty() {
    capture "$WORK/check.pnm" && document_area "$WORK/check.pnm" "$WORK/check-area.pnm" &&
        cmp -s "$WORK/check-area.pnm" "$WORK/empty.pnm"
}

# Renting and returning as with a barcode scanner: the code, Enter, the
# member, Enter, and Enter runs the check. The windows are closed unrented.
shot rent-tape "alt+t r" "V1002 key:Return M2002 key:Return key:Return" "alt+c"
shot return-tape "alt+t t" "V1001 key:Return M2001 key:Return key:Return" "alt+c"
# The editors with a new record typed in, not saved.
shot video-editor "alt+e a" "V1007 key:Return Vertigo key:Return James_Stewart key:Return Kim_Novak key:Return Thriller key:Return 2" "alt+c"
shot member-editor "alt+m a" "M2005 key:Return Tanaka key:Return Yuki key:Return 21_Orchard_Close key:Return 555-0167" "alt+c"
shot grid-viewer "alt+v v" "" "alt+c"
shot grid-deleter "alt+o t r" "" "alt+c"
shot inventory "alt+v i" "" "alt+c"
# The search dialog with a query, then its results (the dialog gives way to
# them), closed with their own Close.
shot search "alt+s" "the" ""
keys alt+s
changed_area "$WORK/shown.pnm" "$WORK/results.pnm" || fail "search-results: the results did not come"
save_window "$WORK/results.pnm" search-results
keys alt+c
poll area_is_empty || fail "search-results: the window did not close"
shot about "alt+h a" "" "alt+o"
# The user tool: with no user on file the command warns first.
keys alt+o u
answer_box
poll give_focus "$MAIN" || fail "the main window does not take the keyboard back"
changed_area "$WORK/empty.pnm" "$WORK/tool.pnm" || fail "user-tool: the window did not open"
save_window "$WORK/tool.pnm" user-tool
stop_app
