#!/usr/bin/env bash
# Builds the Debian package with cpack and checks what it holds and what it
# asks of the machine: the libraries the program really links, found by
# dpkg-shlibdeps, and nothing of the tests or the benchmarks.
#   package_test.sh BUILD_DIR PROJECT_VERSION
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh" "$@"
need_tools cpack dpkg-deb dpkg-shlibdeps objdump file xmllint

if ! (cd "$WORK" && cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$WORK/out") >"$WORK/cpack.log" 2>&1; then
    bad "cpack -G DEB builds the package"; sed 's/^/    | /' "$WORK/cpack.log"; finish
fi
DEB=$(ls "$WORK"/out/*.deb 2>/dev/null)
check_same "cpack -G DEB builds one package" "quorvane_$VERSION-1_$(dpkg --print-architecture).deb" "$(basename "$DEB" 2>/dev/null)"
[ -f "$DEB" ] || finish

# The files, exactly: the program and its desktop files under /usr.
expected="./usr/bin/quorvane
./usr/share/applications/$ID.desktop
./usr/share/doc/quorvane/changelog.Debian.gz
./usr/share/icons/hicolor/scalable/apps/$ID.svg
./usr/share/man/man1/quorvane.1.gz
./usr/share/metainfo/$ID.metainfo.xml"
dpkg-deb -c "$DEB" >"$WORK/contents"
files=$(grep -v '^d' "$WORK/contents" | awk '{print $6}' | LC_ALL=C sort)
check_same "dpkg-deb -c lists the program, the entry, the change log, the icon, the metadata and the manual page" "$expected" "$files"
check "the program is installed executable, owned by root" \
    grep -q '^-rwxr-xr-x root/root .* ./usr/bin/quorvane$' "$WORK/contents"

check_same "the change log's last entry is this version" "quorvane ($VERSION-1)" \
    "$(dpkg-deb --fsys-tarfile "$DEB" | tar -xO ./usr/share/doc/quorvane/changelog.Debian.gz | zcat | head -1 | cut -d' ' -f1-2)"

field() { dpkg-deb -f "$DEB" "$1"; }
check_same "the package name" "quorvane" "$(field Package)"
check_same "the version" "$VERSION-1" "$(field Version)"
check_same "the section" "misc" "$(field Section)"
check "a maintainer with an address" sh -c "dpkg-deb -f '$DEB' Maintainer | grep -q '<.*@.*>'"
check "a one-line summary and a longer description" \
    sh -c "dpkg-deb -f '$DEB' Description | head -1 | grep -q 'video-tape rental shop' && [ \$(dpkg-deb -f '$DEB' Description | wc -l) -gt 3 ]"
check "the fonts are recommended" sh -c "dpkg-deb -f '$DEB' Recommends | grep -qw fonts-liberation"

# Every library the program links comes from a package the package depends
# on (SQLiteCpp is linked into the program, so it asks for no package).
depends=$(field Depends)
echo "Depends: $depends"
deps=$(printf '%s\n' "$depends" | tr ',' '\n' | sed 's/^ *//; s/[ (].*//')
mkdir "$WORK/root"
dpkg-deb -x "$DEB" "$WORK/root"
PROGRAM="$WORK/root/usr/bin/quorvane"
for lib in $(objdump -p "$PROGRAM" | awk '/NEEDED/ {print $2}'); do
    path=$(ldd "$PROGRAM" | awk -v l="$lib" '$1 == l {print $3; exit}')
    # The loader is named by its own path, without "=>".
    [ -n "$path" ] || path=$(ldd "$PROGRAM" | awk -v l="$lib" '$1 ~ ("/" l "$") {print $1; exit}')
    owner=$(dpkg -S "$(readlink -f "$path")" 2>/dev/null | head -1 | cut -d: -f1)
    [ -n "$owner" ] || owner=$(dpkg -S "$path" 2>/dev/null | head -1 | cut -d: -f1)
    check "the program links $lib, and the package depends on ${owner:-its package}" \
        sh -c "[ -n '$owner' ] && printf '%s\n' '$deps' | grep -qx '$owner'"
done
for pkg in libqt6widgets6 libqt6gui6 libqt6core6 libsqlite3-0 qt6-qpa-plugins; do
    check "the package depends on $pkg" sh -c "printf '%s\n' '$deps' | grep -qx '$pkg'"
done
check_same "the package's home page is the metadata's" \
    "$(xmllint --xpath 'string(/component/url[@type="homepage"])' "$WORK/root/usr/share/metainfo/$ID.metainfo.xml")" \
    "$(field Homepage)"
check "the packaged program is stripped" sh -c "! objdump -h '$PROGRAM' | grep -q debug_info"

finish
