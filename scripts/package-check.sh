#!/usr/bin/env bash
# Builds the Debian package in its own build directory and checks what it installs with the
# desktop's and Debian's own tools: scripts/package-check.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dir=$(realpath -m "${1:-"$root/build-package"}")
app_id=org.example.Velquorantisphaeron
mime_type=application/x-velquorantisphaeron-parameters
checks=0
ok() {
    checks=$((checks + 1))
    echo "ok: $*"
}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The package installs to /usr, and the help alert names the manual there.
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DVELQ_BENCH=OFF >/dev/null
cmake --build "$dir" --target velquorantisphaeron velq-render velq_installed_files >/dev/null

# shellcheck source=../tests/app/e2e/e2e_lib.sh
source "$root/tests/app/e2e/e2e_lib.sh"
e2e_xvfb
work=$E2E_WORK
export XDG_CACHE_HOME="$work/home/.cache"

# --- cmake --install, into a staging root
DESTDIR="$work/stage" cmake --install "$dir" >/dev/null
share=$work/stage/usr/share

desktop-file-validate "$share/applications/$app_id.desktop" || fail "desktop-file-validate"
ok "desktop-file-validate: the desktop entry"
appstreamcli validate --no-net "$share/metainfo/$app_id.metainfo.xml" >"$work/as.log" 2>&1 ||
    fail "appstreamcli validate: $(cat "$work/as.log")"
appstreamcli validate-tree --no-net "$work/stage" >"$work/as.log" 2>&1 ||
    fail "appstreamcli validate-tree: $(cat "$work/as.log")"
ok "appstreamcli validate --no-net, validate-tree: the metainfo with the desktop entry and icon"

# update-mime-database exits 0 even on errors: the database's answer is what counts.
update-mime-database "$share/mime" >/dev/null 2>&1
printf '0 0 2 1.333 1024 0x782 0\r\n' >"$work/view.mdl"
content_type() {
    XDG_DATA_DIRS="$1" gio info -a standard::content-type "$2" | awk '/content-type:/ {print $2}'
}
[ "$(content_type "$share:/usr/share" "$work/view.mdl")" = "$mime_type" ] ||
    fail "an .mdl file is $(content_type "$share:/usr/share" "$work/view.mdl")"
[ "$(content_type /usr/share "$work/view.mdl")" != "$mime_type" ] ||
    fail "the type is known without the installed database: the check proves nothing"
grep -qx "$mime_type text/plain" "$share/mime/subclasses" || fail "the type is no text/plain"
ok "update-mime-database + gio info: an .mdl file is $mime_type, a kind of text/plain"

for size in 16 22 24 32 48 64 128 256 512; do
    png=$share/icons/hicolor/${size}x$size/apps/$app_id.png
    [ "$(identify -format '%wx%h' "$png" 2>/dev/null)" = "${size}x$size" ] ||
        fail "the ${size}x$size icon"
done
ok "the icon as SVG and as PNG of 16 to 512 pixels"

address=$(grep -ao 'file://[^[:space:]]*/manual\.html' "$work/stage/usr/bin/velquorantisphaeron" |
    head -n1)
if [ "$address" != "file:///usr/share/doc/velquorantisphaeron/manual.html" ] ||
    [ ! -s "$work/stage${address#file://}" ]; then
    fail "the help alert names '$address'"
fi
ok "the help alert names the installed manual, $address"

for page in "$share"/man/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man $(basename "$page"): $warnings"
done
LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$share/man/man1/velq-render.1.gz" 2>/dev/null >"$work/man.txt"
"$work/stage/usr/bin/velq-render" 2>"$work/usage.txt" || true
grep -o -- '--[a-z]*' "$work/usage.txt" | sort -u >"$work/flags.txt"
[ "$(wc -l <"$work/flags.txt")" -ge 10 ] || fail "velq-render's usage: $(cat "$work/usage.txt")"
while read -r flag; do
    grep -q -- "$flag" "$work/man.txt" || fail "the man page lacks $flag"
done <"$work/flags.txt"
ok "man: both pages format without warnings; velq-render.1 documents every flag of the usage"

for page in "$share"/doc/velquorantisphaeron/*.html; do
    while read -r anchor; do
        grep -q "id=\"$anchor\"" "$page" || fail "$(basename "$page") links to a missing #$anchor"
    done < <(grep -o 'href="#[^"]*"' "$page" | sed 's/^href="#//; s/"$//')
    while read -r target; do
        [ -e "$(dirname "$page")/$target" ] || fail "$(basename "$page") links to a missing $target"
    done < <(grep -o 'src="[^"]*"\|href="[a-z]*\.html"' "$page" | sed 's/^[a-z]*="//; s/"$//')
done
ok "the HTML manual's links and pictures are there"

# --- the Debian package
(cd "$dir" && cpack -G DEB >"$work/cpack.log" 2>&1) || fail "cpack: $(cat "$work/cpack.log")"
version=$(dpkg-parsechangelog -l "$root/packaging/changelog" -S Version)
deb=$dir/velquorantisphaeron_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no package $deb: the changelog's version is not the project's"
grep -q "<release version=\"$version\"" "$root/packaging/$app_id.metainfo.xml" ||
    fail "the metainfo has no release $version"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 qt6-qpa-plugins; do
    [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done
ok "cpack -G DEB: $(basename "$deb"), version $version as in the changelog and the metainfo"
ok "dpkg-shlibdeps: Depends: $depends"

status=0
lintian --fail-on error --display-info "$deb" >"$work/lintian.log" 2>&1 || status=$?
grep -v 'running with root privileges' "$work/lintian.log" || true
[ "$status" = 0 ] || fail "lintian reports errors"
ok "lintian: no errors ($(grep -c '^W:' "$work/lintian.log" || true) warnings)"

dpkg -x "$deb" "$work/root"
doc=$work/root/usr/share/doc/velquorantisphaeron
[ -s "$doc/copyright" ] || fail "no copyright file"
[ "$(zcat "$doc/changelog.gz" | head -n1)" = "$(head -n1 "$root/packaging/changelog")" ] ||
    fail "changelog.gz is not the changelog"
for file in usr/bin/velquorantisphaeron usr/bin/velq-render \
    usr/share/applications/$app_id.desktop usr/share/metainfo/$app_id.metainfo.xml \
    usr/share/mime/packages/$app_id.xml usr/share/icons/hicolor/scalable/apps/$app_id.svg \
    usr/share/icons/hicolor/48x48/apps/$app_id.png usr/share/doc/velquorantisphaeron/manual.html \
    usr/share/man/man1/velq-render.1.gz; do
    [ -s "$work/root/$file" ] || fail "the package lacks /$file"
done
ok "dpkg -x: the programs, desktop files, icons, manual, copyright and changelog.gz"

apt-get install --simulate --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
    fail "apt-get cannot install the package: $(cat "$work/apt.log")"
grep -q '^Inst velquorantisphaeron ' "$work/apt.log" || fail "apt-get: $(cat "$work/apt.log")"
ok "apt-get install --simulate: the dependencies resolve on this system"

"$work/root/usr/bin/velq-render" --gallery 111 --thumbnail --out "$work/thumb.png" >/dev/null
[ "$(identify -format '%wx%h' "$work/thumb.png")" = 160x120 ] || fail "the packaged velq-render"
ok "the packaged velq-render renders"

# The desktop menu starts the program through the entry: Exec is looked up in PATH.
E2E_BIN=$work/root/usr/bin
export PATH="$work/root/usr/bin:$PATH" XDG_DATA_DIRS="$work/root/usr/share:/usr/share"
gio launch "$work/root/usr/share/applications/$app_id.desktop"
APP_PID=$(timeout 30 xdotool search --sync --onlyvisible --name '^Velquorantisphaeron$' \
    getwindowpid 2>/dev/null | head -n1) || true
[ -n "$APP_PID" ] || fail "the desktop entry started no window"
[ "$(readlink "/proc/$APP_PID/exe")" = "$work/root/usr/bin/velquorantisphaeron" ] ||
    fail "the desktop entry started $(readlink "/proc/$APP_PID/exe")"
e2e_await_window
xdotool key ctrl+q
e2e_poll 20 e2e_gone "$APP_PID" || fail "the program started from the menu did not quit"
APP_PID=
ok "gio launch: the desktop entry starts the packaged program, which shows the start view"

# A double-click on a parameter file: the MIME database names the program for the file's type,
# and gio opens the file with it, which renders the file's view after the start view.
update-mime-database "$work/root/usr/share/mime" >/dev/null 2>&1 || true
update-desktop-database "$work/root/usr/share/applications" || fail "update-desktop-database"
gio mime "$mime_type" >"$work/mime.txt"
default=$(head -n1 "$work/mime.txt")
[[ $default == *"$app_id.desktop" ]] || fail "gio mime $mime_type: $default"
ok "gio mime: $default"
printf '%s\r\n' '-1 0 0.5 1.333 1024 0x00000782 0' >"$work/files/zoomed.mdl"
gio open "$work/files/zoomed.mdl"
APP_PID=$(timeout 30 xdotool search --sync --onlyvisible --name '^Velquorantisphaeron$' \
    getwindowpid 2>/dev/null | head -n1) || true
[ -n "$APP_PID" ] || fail "gio open started no window"
e2e_await_window -1 0 0.5 1024 0x782 0
ok "gio open: the file's view, exactly"
xdotool key ctrl+q
e2e_poll 20 e2e_gone "$APP_PID" || fail "the program opened by gio did not quit"
APP_PID=

echo "package: $checks passed, 0 failed"
