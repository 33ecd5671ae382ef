# shellcheck shell=bash
# Shared steps of the end-to-end runs: a virtual X server, the program in it, screenshots of
# its picture, and waiting for results. Sourced by the tests here and by scripts/screenshots.sh.
#
# The window starts with a 320 x 240 picture. Controls are found from the picture's place in
# the window and the fixed margins and widths of the window's layout, never from font sizes;
# menus and dialogs are driven with the keyboard once open.

# shellcheck disable=SC2034 # WIN_W, WIN_H and the like are for the scripts that source this.
E2E_PICTURE=320x240
E2E_START_VIEW=(0 0 2 1024 0x782 0)

e2e_fail() {
    echo "FAIL: $*" >&2
    local keep
    if [ -n "${WIN:-}" ] && keep=$(mktemp -p /tmp velq-e2e-failure.XXXXXX.png) &&
        import -window "$WIN" "$keep" 2>/dev/null; then
        echo "the window at the failure: $keep" >&2
    fi
    exit 1
}

# e2e_ok WHAT: reports a step done, with the seconds since the start.
e2e_ok() {
    echo "ok (${SECONDS}s): $*"
}

e2e_cleanup() {
    if [ -n "${APP_PID:-}" ]; then kill "$APP_PID" 2>/dev/null || true; fi
    if [ -n "${E2E_XVFB:-}" ]; then kill "$E2E_XVFB" 2>/dev/null || true; fi
    rm -rf "$E2E_WORK"
}

# e2e_poll SECONDS COMMAND...: runs COMMAND until it succeeds; fails after SECONDS.
e2e_poll() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

# e2e_xvfb: a private X server on a free display; sets DISPLAY and a private home.
e2e_xvfb() {
    E2E_WORK=$(mktemp -d)
    trap e2e_cleanup EXIT
    local fdfile="$E2E_WORK/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" 2>/dev/null &
    E2E_XVFB=$!
    e2e_poll 20 test -s "$fdfile" || e2e_fail "the virtual X server did not start"
    DISPLAY=":$(head -n1 "$fdfile")"
    export DISPLAY
    # Nothing of the user's: no settings, no Desktop, English texts, Qt's own style and dialogs.
    mkdir -p "$E2E_WORK/home" "$E2E_WORK/run" "$E2E_WORK/files" "$E2E_WORK/tmp"
    chmod 700 "$E2E_WORK/run"
    export HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run" TMPDIR="$E2E_WORK/tmp"
    export XDG_CONFIG_HOME="$E2E_WORK/home/.config" XDG_DATA_HOME="$E2E_WORK/home/.local/share"
    export LC_ALL=C.UTF-8 LANG=C.UTF-8 LANGUAGE=
    export QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME='' QT_STYLE_OVERRIDE=Fusion
    unset WAYLAND_DISPLAY SESSION_MANAGER
}

# e2e_launch COMMAND...: starts the program (and first the X server, unless e2e_xvfb has) and
# waits for its window and the start view.
# Sets APP_PID, WIN (the main window), WIN_W, WIN_H, PIC_X, PIC_Y (the picture in the window).
e2e_launch() {
    [ -n "${E2E_XVFB:-}" ] || e2e_xvfb
    (cd "$E2E_WORK/files" && exec "$@") &
    APP_PID=$!
    e2e_await_window
}

# e2e_await_window [X Y W IT CS CP]: waits for the main window of the program APP_PID and for
# the picture of that view (the start view when none is given) in it.
e2e_await_window() {
    WIN=$(timeout 30 xdotool search --sync --all --onlyvisible --pid "$APP_PID" \
        --name '^Velquorantisphaeron$' 2>/dev/null | head -n1) || true
    [ -n "$WIN" ] || e2e_fail "no window appeared"
    eval "$(xdotool getwindowgeometry --shell "$WIN")"
    WIN_W=$WIDTH
    WIN_H=$HEIGHT
    if [ $# -eq 0 ]; then set -- "${E2E_START_VIEW[@]}"; fi
    e2e_render "$E2E_WORK/start.png" "$@"
    e2e_poll 30 e2e_find_picture "$E2E_WORK/start.png" || e2e_fail "the view $* did not appear"
}

e2e_find_picture() {
    e2e_shot "$E2E_WORK/find.png" || return 1
    local result
    result=$(compare -metric AE -subimage-search "$E2E_WORK/find.png" "$1" null: 2>&1) || true
    [ "${result%% *}" = 0 ] || return 1
    local at=${result##*@ }
    PIC_X=${at%,*}
    PIC_Y=${at#*,}
}

# e2e_shot FILE: the window as it is on the screen.
e2e_shot() {
    import -window "$WIN" "$1" 2>/dev/null
}

# e2e_picture FILE: only the picture area of the window.
e2e_picture() {
    e2e_shot "$E2E_WORK/window.png" &&
        convert "$E2E_WORK/window.png" -crop "$E2E_PICTURE+$PIC_X+$PIC_Y" +repage "$1"
}

# e2e_render FILE X Y W IT CS CP: the picture the window must show for a view.
e2e_render() {
    local out=$1
    shift
    "$E2E_BIN/velq-render" --view "$@" --size "$E2E_PICTURE" --out "$out" >/dev/null
}

# e2e_differing A B [OPTIONS...]: the number of pixels in which two pictures differ, within
# the region of "-extract GEOMETRY" when that is given.
e2e_differing() {
    local result
    result=$(compare -metric AE "${@:3}" "$1" "$2" null: 2>&1) || true
    echo "${result%% *}"
}

e2e_shows() {
    e2e_picture "$E2E_WORK/shown.png" && [ "$(e2e_differing "$E2E_WORK/shown.png" "$1")" = 0 ]
}

# e2e_expect_picture EXPECTED.png WHAT: waits until the window shows exactly that picture.
e2e_expect_picture() {
    e2e_poll 30 e2e_shows "$1" ||
        e2e_fail "$2: the picture differs from the expected one in" \
            "$(e2e_differing "$E2E_WORK/shown.png" "$1") pixels"
    e2e_ok "$2"
}

# e2e_expect_view WHAT X Y W IT CS CP: waits until the window shows the picture of that view.
e2e_expect_view() {
    local what=$1
    shift
    e2e_render "$E2E_WORK/expected.png" "$@"
    e2e_expect_picture "$E2E_WORK/expected.png" "$what"
}

# e2e_click X Y [BUTTON]: a click at a point of the window.
e2e_click() {
    xdotool mousemove --window "$WIN" "$1" "$2" click "${3:-1}"
}

# e2e_windows: how many windows of the program are visible (menus and dialogs included).
e2e_windows() {
    xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | wc -l
}

e2e_at_least_windows() {
    [ "$(e2e_windows)" -ge "$1" ]
}

# e2e_await_windows N WHAT: waits until N windows of the program are visible.
e2e_await_windows() {
    e2e_poll 20 e2e_at_least_windows "$1" || e2e_fail "$2 did not open"
}

e2e_await_only_window() {
    e2e_poll 20 test "$(e2e_windows)" = 1 || e2e_fail "$1 did not close"
}

# e2e_file_dialog TITLE PATH [KEYS...]: in the file dialog of that title, presses KEYS (to
# choose options, counting from the empty file-name field), types PATH into the file-name
# field, and confirms.
e2e_file_dialog() {
    local title=$1 path=$2
    shift 2
    local dialog
    dialog=$(timeout 20 xdotool search --sync --all --onlyvisible --pid "$APP_PID" \
        --name "^$title" 2>/dev/null | head -n1) || true
    [ -n "$dialog" ] || e2e_fail "the $title dialog did not open"
    e2e_poll 10 test "$(xdotool getwindowfocus 2>/dev/null)" = "$dialog" ||
        e2e_fail "the $title dialog did not get the keyboard"
    if [ $# -gt 0 ]; then xdotool key --delay 80 "$@" alt+n; fi
    xdotool type --delay 15 "$path"
    # When the name matches a file the completer's list opens and takes the first Return; a
    # Return that comes after the dialog has gone does nothing in the window.
    local _
    for _ in 1 2 3 4 5 6; do
        xdotool key Return
        e2e_poll 2 test "$(e2e_windows)" = 1 && break
    done
    [ "$(e2e_windows)" = 1 ] || e2e_fail "the $title dialog did not close"
    # The main window gets the keyboard back, as a window manager would give it.
    xdotool windowfocus "$WIN"
    e2e_poll 10 test "$(xdotool getwindowfocus 2>/dev/null)" = "$WIN" ||
        e2e_fail "the window did not get the keyboard back"
}

# e2e_await_file PATH WHAT: waits until a file exists and is not empty.
e2e_await_file() {
    e2e_poll 30 test -s "$1" || e2e_fail "$2: $1 was not written"
}

# e2e_expect_exit WHAT: waits for the program to end; fails unless it ends with status 0.
e2e_expect_exit() {
    e2e_poll 20 e2e_gone "$APP_PID" || e2e_fail "$1: the program is still running"
    local status=0
    wait "$APP_PID" || status=$?
    APP_PID=
    [ "$status" = 0 ] || e2e_fail "$1: the program ended with status $status"
    e2e_ok "$1"
}

e2e_gone() {
    ! kill -0 "$1" 2>/dev/null || [ "$(ps -o stat= -p "$1" 2>/dev/null | cut -c1)" = Z ]
}
