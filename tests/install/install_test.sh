#!/usr/bin/env bash
# Installs the built program into a folder of its own and checks what lands
# there with the desktop's own validators: exactly the program, its desktop
# entry, its icon, its AppStream metadata and its manual page.
#   install_test.sh BUILD_DIR PROJECT_VERSION
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh" "$@"
need_tools desktop-file-validate appstreamcli xmllint groff

PREFIX="$WORK/usr"
if ! cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1; then
    bad "cmake --install"; sed 's/^/    | /' "$WORK/install.log"; finish
fi
ok "cmake --install"

# Exactly these files, and nothing of the tests or the benchmarks.
expected="bin/quorvane
share/applications/$ID.desktop
share/doc/quorvane/changelog.Debian.gz
share/icons/hicolor/scalable/apps/$ID.svg
share/man/man1/quorvane.1.gz
share/metainfo/$ID.metainfo.xml"
installed=$(cd "$PREFIX" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
check_same "the installed files" "$expected" "$installed"

BIN="$PREFIX/bin/quorvane"
check "the program is an executable ELF file" sh -c "test -x '$BIN' && head -c4 '$BIN' | grep -q ELF"
check "the program does not look for libraries in the build folder" \
    sh -c "! objdump -p '$BIN' | grep -E 'R(UN)?PATH' | grep -qF '$BUILD'"
# The name is a Qt string literal in the program: UTF-16.
utf16() { local s=$1 out="" i; for ((i = 0; i < ${#s}; i++)); do out+="\\x$(printf '%02x' "'${s:i:1}")\\x00"; done; printf '%s' "$out"; }
check "the program announces the desktop entry's name" sh -c "LC_ALL=C grep -qaP '$(utf16 "$ID")' '$BIN'"

DESKTOP="$PREFIX/share/applications/$ID.desktop"
check_silent "desktop-file-validate accepts the entry" desktop-file-validate "$DESKTOP"
key() { sed -n "s/^$1=//p" "$DESKTOP"; }
check_same "the entry starts the installed program" "quorvane" "$(key Exec)"
check_same "the entry names the installed icon" "$ID" "$(key Icon)"

SVG="$PREFIX/share/icons/hicolor/scalable/apps/$ID.svg"
check_silent "the icon is well-formed SVG" xmllint --noout "$SVG"
check "the icon is square" grep -q 'viewBox="0 0 128 128"' "$SVG"

META="$PREFIX/share/metainfo/$ID.metainfo.xml"
check_quiet "appstreamcli validate --no-net accepts the metadata" appstreamcli validate --no-net "$META"
xpath() { xmllint --xpath "string($1)" "$META" 2>/dev/null; }
check_same "the metadata id" "$ID" "$(xpath /component/id)"
check_same "the metadata launches the entry" "$ID.desktop" "$(xpath /component/launchable)"
check_same "the metadata names the program" "quorvane" "$(xpath /component/provides/binary)"
check_same "the metadata's release is the project's version" "$VERSION" "$(xpath '/component/releases/release[1]/@version')"
check "the metadata shows the main window" sh -c "xmllint --xpath 'string(/component/screenshots/screenshot[@type=\"default\"]/image)' '$META' | grep -q '^https://.*\.png$'"

MAN="$PREFIX/share/man/man1/quorvane.1.gz"
zcat "$MAN" >"$WORK/quorvane.1"
check_silent "groff formats the manual page without a warning" groff -man -ww -z "$WORK/quorvane.1"
groff -man -Tutf8 -P-cbou "$WORK/quorvane.1" >"$WORK/man.txt" 2>/dev/null
for section in NAME SYNOPSIS DESCRIPTION OPTIONS FILES "EXIT STATUS"; do
    check "the manual page has $section" grep -q "^$section\$" "$WORK/man.txt"
done
check "the manual page says where the file lives" grep -q "XDG_DATA_HOME/Quorvane/Quorvane.mdb" "$WORK/man.txt"
check_same "the manual page's version is the project's" "Quorvane $VERSION" \
    "$(sed -n 's/^\.TH [^"]*"[^"]*" "\([^"]*\)".*/\1/p' "$WORK/quorvane.1")"

# Stripped on request (the package asks for it).
STRIPPED="$WORK/stripped"
if cmake --install "$BUILD" --prefix "$STRIPPED" --strip >"$WORK/strip.log" 2>&1; then
    check "--strip removes the debugging sections" sh -c "! objdump -h '$STRIPPED/bin/quorvane' | grep -q debug_info"
else
    bad "cmake --install --strip"; sed 's/^/    | /' "$WORK/strip.log"
fi

finish
