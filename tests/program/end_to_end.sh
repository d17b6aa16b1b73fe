#!/usr/bin/env bash
# Starts the program as a clerk would, each time from a folder of its own that
# holds nothing but the program file, on a virtual X display, and checks what
# the clerk sees and what is left in the folder.
# Given the build folder too, it also installs the program and runs it from
# there.
#   end_to_end.sh path/to/Quorvane [build-folder]
set -u
BIN=$(readlink -f "$1")
BUILD_DIR=${2:-}
WORK=$(mktemp -d)
# The user's data folder, where an installed program may keep its file, is a
# folder of the test's own: no run here touches the real one.
export XDG_DATA_HOME="$WORK/data-home"
passes=0
failures=0
skipped=0
XPID=""
APP=""
FROZEN=""

cleanup() {
    if [ -n "$APP" ]; then kill "$APP" 2>/dev/null; fi
    if [ -n "$XPID" ]; then kill "$XPID" 2>/dev/null; fi
    thaw
    rm -rf "$WORK"
}
trap cleanup EXIT

# Makes a folder refuse writes even to root: immutable, or else mounted
# read-only; says so when the machine allows neither.
freeze() {
    if chattr +i "$1" 2>/dev/null; then FROZEN="chattr:$1"; return 0; fi
    if mount --bind "$1" "$1" 2>/dev/null; then
        if mount -o remount,bind,ro "$1" 2>/dev/null; then FROZEN="mount:$1"; return 0; fi
        umount "$1" 2>/dev/null
    fi
    return 1
}
thaw() {
    case "$FROZEN" in
        chattr:*) chattr -i "${FROZEN#chattr:}" ;;
        mount:*) umount "${FROZEN#mount:}" ;;
    esac
    FROZEN=""
}

ok() { echo "ok: $*"; passes=$((passes + 1)); }
skip() { echo "skip: $*"; skipped=$((skipped + 1)); }
# A failed step shows what the program itself said, so that the cause shows.
bad() {
    echo "FAIL: $*"
    failures=$((failures + 1))
    if [ -n "$XPID" ] && ! kill -0 "$XPID" 2>/dev/null; then
        echo "    the virtual display $DISPLAY is gone (killed from outside?):"
        sed 's/^/    | /' "$WORK/xvfb.log"
    fi
    if [ -n "${DIR:-}" ] && [ -s "$DIR/out.log" ]; then
        echo "    the program's output in $(basename "$DIR"):"
        sed 's/^/    | /' "$DIR/out.log"
    fi
}
check() { local what=$1; shift; if "$@"; then ok "$what"; else bad "$what"; fi; }

for tool in Xvfb xdotool xprop sqlite3; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed"; echo "0 passed, 1 failed"; exit 1; }
done

# Every wait below polls for what it waits for; the limits are only there so
# that a broken run ends, and are wide enough for a cold, loaded machine.
WAIT=${QUORVANE_E2E_WAIT:-60}

# A display of our own. Xvfb chooses a free display number and writes it to
# the given descriptor once it accepts connections. Without -noreset it would
# start itself over each time its last client leaves, and a program started
# in that moment could not connect.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$WORK/display" 2>"$WORK/xvfb.log" &
XPID=$!
for _ in $(seq $((WAIT * 10))); do
    [ -s "$WORK/display" ] && break
    kill -0 "$XPID" 2>/dev/null || break
    sleep 0.1
done
if [ ! -s "$WORK/display" ]; then
    echo "FAIL: the virtual display did not start"; sed 's/^/    | /' "$WORK/xvfb.log"
    echo "0 passed, 1 failed"; exit 1
fi
export DISPLAY=":$(head -n1 "$WORK/display")"
unset QT_QPA_PLATFORM
display_up=""
for _ in $(seq $((WAIT * 10))); do
    if xdpyinfo >/dev/null 2>&1 && xdotool getdisplaygeometry >/dev/null 2>&1; then display_up=1; break; fi
    sleep 0.1
done
if [ -z "$display_up" ]; then
    echo "FAIL: the virtual display $DISPLAY does not answer"; sed 's/^/    | /' "$WORK/xvfb.log"
    echo "0 passed, 1 failed"; exit 1
fi

# A new folder holding only the program (and, if given, a database file).
prepare() {
    DIR="$WORK/$1"
    mkdir -p "$DIR"
    cp "$BIN" "$DIR/Quorvane"
    if [ -n "${2:-}" ]; then cp "$2" "$DIR/Quorvane.mdb"; fi
}
launch() {
    (cd / && exec "$DIR/Quorvane" >"$DIR/out.log" 2>&1) &
    APP=$!
}
start_in() { prepare "$@"; launch; }

# Waits for a visible window with this exact title whose window type is a
# dialog ("dialog") or not ("main"); prints its id.
wait_window() {
    local title=$1 kind=$2 seconds=${3:-$WAIT} id type
    for _ in $(seq $((seconds * 10))); do
        for id in $(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null); do
            type=$(xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null)
            case "$kind:$type" in
                dialog:*DIALOG*) echo "$id"; return 0 ;;
                main:*DIALOG*) ;;
                main:*) echo "$id"; return 0 ;;
                any:*) echo "$id"; return 0 ;;
            esac
        done
        kill -0 "$APP" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# Gives a window the keyboard focus and waits until the X server says it has it.
focus_window() {
    local id=$1
    for _ in $(seq $((WAIT * 10))); do
        xdotool windowfocus --sync "$id" 2>/dev/null
        [ "$(xdotool getwindowfocus 2>/dev/null)" = "$id" ] && return 0
        sleep 0.1
    done
    return 1
}

# Answers the message box that is up with Enter.
answer_box() {
    local id
    id=$(wait_window "Quorvane v1.0" dialog "${1:-$WAIT}") || return 1
    focus_window "$id" || return 1
    xdotool key Return
    for _ in $(seq $((WAIT * 10))); do
        xdotool search --onlyvisible --name '^Quorvane v1.0$' 2>/dev/null | grep -qx "$id" || return 0
        sleep 0.1
    done
    return 1
}

main_window_up() { wait_window "Quorvane v1.0" main "${1:-$WAIT}" >/dev/null; }
ended_with() { wait "$APP"; local rc=$?; APP=""; [ "$rc" -eq "$1" ]; }
stop_app() { kill "$APP" 2>/dev/null; wait "$APP" 2>/dev/null; APP=""; }
sql() { sqlite3 -batch "$1" "$2" 2>&1; }
refused() { ! sqlite3 -batch "$1" "$2" >/dev/null 2>&1; }

# 1. The first start in an empty folder.
start_in first
check "first start: the information box is shown" answer_box
t0=$(date +%s%N)
check "first start: the main window follows the splash" main_window_up
t1=$(date +%s%N)
elapsed=$(( (t1 - t0) / 1000000 ))
# The splash stands its two seconds; how much longer a slow machine takes is
# no fault of the program.
check "first start: the splash stood two seconds before the main window (${elapsed} ms)" test "$elapsed" -ge 1800
check "first start: Quorvane.mdb is made beside the program" test -f "$DIR/Quorvane.mdb"
stop_app
DB="$DIR/Quorvane.mdb"

# 2. The file as the stock sqlite3 shell sees it.
tables=$(sql "$DB" "SELECT group_concat(name, '|') FROM (SELECT name FROM sqlite_schema WHERE type = 'table' ORDER BY rowid)")
check "shell: the seven tables in order" test "$tables" = "Video Database|Members Database|Rentals Database|Returnee Database|Video Code Database|Member Code Database|Users Database"
fields=$(sql "$DB" "SELECT group_concat(name, '|') FROM pragma_table_info('Video Database')")
check "shell: the video fields in order" test "$fields" = "Video Code|Title|Main Cast|Second Cast|Category|Tapes In|Tapes Out"
fields=$(sql "$DB" "SELECT group_concat(name, '|') FROM pragma_table_info('Returnee Database')")
check "shell: the returnee fields in order" test "$fields" = "Member ID|Video Code|Return Date|Days"
uniques=$(sql "$DB" "SELECT group_concat(name, '|') FROM (SELECT name FROM sqlite_schema WHERE type = 'index' AND sql LIKE 'CREATE UNIQUE%' ORDER BY rowid)")
check "shell: the primary indexes VideoCodeIDX and MemberIDX" test "$uniques" = "VideoCodeIDX|MemberIDX"
sql "$DB" "INSERT INTO \"Video Database\" (\"Video Code\", \"Title\") VALUES ('V1', 'Heat')" >/dev/null
check "shell: an empty text is refused" refused "$DB" "INSERT INTO \"Video Database\" (\"Video Code\", \"Title\") VALUES ('V2', '')"
check "shell: an over-long text is refused" refused "$DB" "INSERT INTO \"Video Database\" (\"Video Code\") VALUES ('$(printf 'x%.0s' $(seq 31))')"
check "shell: a duplicate video code is refused" refused "$DB" "INSERT INTO \"Video Database\" (\"Video Code\") VALUES ('V1')"
check "shell: dates read as ISO dates" test "$(sql "$DB" "INSERT INTO \"Rentals Database\" VALUES ('M1', 'V1', '2026-12-07', 'No'); SELECT \"Rent Date\" FROM \"Rentals Database\"")" = "2026-12-07"
cp "$DB" "$WORK/sound.mdb"

# 3. A file that is not a database is moved aside and replaced.
printf 'the shop notes, not a database\n' >"$WORK/junk.mdb"
start_in junk "$WORK/junk.mdb"
check "damaged: the corruption box is shown" answer_box
check "damaged: the no-user warning follows" answer_box
check "damaged: the main window comes up" main_window_up
stop_app
check "damaged: the file was moved aside, not deleted" grep -q "the shop notes" "$DIR"/Quorvane.mdb.damaged-*
check "damaged: a new database stands in its place" test "$(sql "$DIR/Quorvane.mdb" "SELECT count(*) FROM sqlite_schema WHERE type = 'table'")" = "7"

# 4. A narrowed field is damage; a widened one is not.
cp "$WORK/sound.mdb" "$WORK/narrow.mdb"
sql "$WORK/narrow.mdb" "CREATE TABLE u2 (\"Username\" TEXT(20), \"Password\" TEXT(30)); DROP TABLE \"Users Database\"; ALTER TABLE u2 RENAME TO \"Users Database\"" >/dev/null
start_in narrow "$WORK/narrow.mdb"
check "narrowed field: reported as corrupted" answer_box
stop_app
check "narrowed field: moved aside" test -n "$(ls "$DIR"/Quorvane.mdb.damaged-* 2>/dev/null)"

# 5. A locked file is reported, left alone, and the run fails.
prepare locked "$WORK/sound.mdb"
before=$(md5sum <"$DIR/Quorvane.mdb")
# Another program holds the file until its input is closed.
mkfifo "$WORK/hold"
sqlite3 "$DIR/Quorvane.mdb" <"$WORK/hold" >/dev/null 2>&1 &
HOLDER=$!
exec 4>"$WORK/hold"
echo "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE; SELECT 1;" >&4
# The program starts only once the other program really holds the file.
for _ in $(seq $((WAIT * 10))); do
    sqlite3 -batch "$DIR/Quorvane.mdb" "SELECT count(*) FROM sqlite_schema" >/dev/null 2>&1 || break
    sleep 0.1
done
launch
check "locked: the error box is shown" answer_box
check "locked: the run ends with a failure status" ended_with 1
exec 4>&-
wait "$HOLDER" 2>/dev/null
check "locked: the file is untouched" test "$(md5sum <"$DIR/Quorvane.mdb")" = "$before"
check "locked: nothing was moved aside" test -z "$(ls "$DIR"/Quorvane.mdb.damaged-* 2>/dev/null)"

# 6. With a user in the file the login dialog asks; Cancel ends quietly.
cp "$WORK/sound.mdb" "$WORK/users.mdb"
sql "$WORK/users.mdb" "INSERT INTO \"Users Database\" VALUES ('Clerk', 'UU')" >/dev/null  # typed: pp
start_in cancel "$WORK/users.mdb"
if id=$(wait_window "Security clearance required..." any); then
    ok "login: the dialog asks"
    focus_window "$id"
    xdotool type --delay 20 "Clerk"; xdotool key Return Tab Tab Return
    check "login: Cancel ends the run with status 0" ended_with 0
else
    bad "login: the dialog asks"
fi
start_in login "$WORK/users.mdb"
if id=$(wait_window "Security clearance required..." any); then
    focus_window "$id"
    xdotool type --delay 20 "Clerk"; xdotool key Return; xdotool type --delay 20 "pp"; xdotool key Return
    check "login: the right password opens the main window" main_window_up
    stop_app
else
    bad "login: the dialog asks"
fi

# 7. The installed program keeps its file beside itself where it may write
# there, and in the user's data folder where it may not.
# Starts the installed program, its output kept in a folder of its own.
launch_installed() {
    DIR="$WORK/$1"
    mkdir -p "$DIR"
    (cd / && exec "$PREFIX/bin/quorvane" >"$DIR/out.log" 2>&1) &
    APP=$!
}
tables_in() { sql "$1" "SELECT count(*) FROM sqlite_schema WHERE type = 'table'"; }

PREFIX="$WORK/prefix"
DATA="$XDG_DATA_HOME/Quorvane"
if [ -z "$BUILD_DIR" ]; then
    skip "installed: no build folder given, nothing to install"
elif ! cmake --install "$BUILD_DIR" --prefix "$PREFIX" >"$WORK/install.log" 2>&1; then
    bad "installed: cmake --install"; sed 's/^/    | /' "$WORK/install.log"
else
    if freeze "$PREFIX/bin"; then
        launch_installed readonly
        check "read-only folder: the information box is shown" answer_box
        check "read-only folder: the main window comes up" main_window_up
        stop_app
        check "read-only folder: Quorvane.mdb is made in the user's data folder" test "$(tables_in "$DATA/Quorvane.mdb")" = "7"
        check "read-only folder: nothing is left beside the program" test "$(ls -A "$PREFIX/bin")" = "quorvane"
        sql "$DATA/Quorvane.mdb" "INSERT INTO \"Video Database\" (\"Video Code\", \"Title\") VALUES ('V1', 'Heat')" >/dev/null
        launch_installed readonly-again
        check "read-only folder, again: the box saying no user exists is answered" answer_box
        check "read-only folder, again: the main window comes up" main_window_up
        stop_app
        check "read-only folder, again: the same file is used" test "$(sql "$DATA/Quorvane.mdb" "SELECT \"Title\" FROM \"Video Database\"")" = "Heat"
        check "read-only folder, again: nothing was moved aside" test -z "$(ls "$DATA" | grep damaged)"
        thaw
    else
        skip "installed: this machine can make no folder read-only to root (neither chattr +i nor a read-only bind mount), so the start from a read-only folder is not tried"
    fi

    kept=$(ls -lR "$XDG_DATA_HOME" 2>/dev/null; md5sum "$DATA/Quorvane.mdb" 2>/dev/null)
    launch_installed writable
    check "writable folder: the information box is shown" answer_box
    check "writable folder: the main window comes up" main_window_up
    stop_app
    check "writable folder: Quorvane.mdb is made beside the program" test "$(tables_in "$PREFIX/bin/Quorvane.mdb")" = "7"
    check "writable folder: the user's data folder is left alone" \
        test "$(ls -lR "$XDG_DATA_HOME" 2>/dev/null; md5sum "$DATA/Quorvane.mdb" 2>/dev/null)" = "$kept"
fi

echo "$passes passed, $failures failed, $skipped skipped"
[ "$failures" -eq 0 ]
