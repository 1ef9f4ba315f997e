#!/bin/sh
# The Windows .zip under Wine, on an X server of its own, in a Wine prefix and a home of its own
# in a temporary folder that goes at the end, with Xvfb and the Wine server:
#   - the zip holds the two programs, the README and the licences, and no program needs a DLL
#     beside it; both carry the icon and the version;
#   - --version prints the version, a bad option gives status 2;
#   - skyring-replay.exe traces the soak's scripts (seeds 1 and 7, 5000 frames) byte for byte as
#     the native skyring-replay does: once from a folder named with letters outside ASCII, once
#     to standard output; it refuses to write over its script, and Ctrl+C leaves no partial file;
#   - skyring.exe shows the sky on the whole screen and ends on Escape; skyring.exe --window
#     shows the sky, plays in silence with no sound output, saves a picture (F12) into the
#     Pictures folder and a changed setting (M) into %APPDATA%\Skyring, takes Escape and ends
#     with status 0.
#   tools/windows/test.sh NATIVE_BUILD WINDOWS_BUILD
# SKYRING_WINE_SCREENSHOT=FILE.png keeps the screenshot of the game for a person to look at.
set -eu
native=$(realpath "$1")
windows=$(realpath "$2")
zip=$(ls "$windows"/skyring-*-windows-x64.zip)
version=$(basename "$zip" | sed 's/^skyring-\(.*\)-windows-x64.zip$/\1/')
work=$(mktemp -d)
xvfb=""
# Output nobody reads goes to $work/quiet: a test writes nothing outside its own folder.
cleanup() {
    WINEPREFIX="$work/wine" wineserver -k 2>>"$work/quiet" || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>>"$work/quiet" || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

export HOME="$work/home" WINEPREFIX="$work/wine" WINEDEBUG=-all WINEARCH=win64
# No sound driver, as on a machine without a sound card; no .NET or browser engine to install;
# no menu entries for the desktop.
export WINEDLLOVERRIDES="winealsa.drv,winepulse.drv,wineoss.drv=d;mscoree,mshtml=d;winemenubuilder.exe=d"
# Wine hands the programs their arguments from UTF-8.
export LC_ALL=C.UTF-8
mkdir -p "$HOME"
wine=$(command -v wine || command -v wine64)

passed=0
failed=0
check() {  # check NAME COMMAND...: one line for each, and the count at the end
    name=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
        printf 'ok      %s\n' "$name"
    else
        failed=$((failed + 1))
        printf 'FAILED  %s\n' "$name"
    fi
}
# A path as Windows programs see it under Wine: the root is drive Z:.
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

echo "== the zip"
mkdir "$work/zip"
(cd "$work/zip" && unzip -q "$zip")
check "the zip holds the programs, the README and the licences" \
    test "$(cd "$work/zip" && ls | sort | tr '\n' ' ')" = "LICENSE.txt README.txt THIRD-PARTY.txt skyring-replay.exe skyring.exe "
needs_no_dll() {  # only Windows' own DLLs: no runtime, no SDL beside the program
    ! x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\tDLL Name: //p' | grep -qiE '^(lib.*|sdl2|zlib.*)\.dll$'
}
has_icon_and_version() {
    resources=$(x86_64-w64-mingw32-windres -i "$1" -O rc 2>>"$work/quiet")
    echo "$resources" | grep -q 'RT_GROUP_ICON' && echo "$resources" | grep -q "VALUE \"ProductVersion\", \"$version\""
}
windowed_program() { x86_64-w64-mingw32-objdump -p "$1" | grep -q '^Subsystem.*(Windows GUI)'; }
for program in skyring skyring-replay; do
    check "$program.exe needs no DLL beside it" needs_no_dll "$work/zip/$program.exe"
    check "$program.exe has the icon and version $version" has_icon_and_version "$work/zip/$program.exe"
done
check "skyring.exe is a windowed program (no console window)" windowed_program "$work/zip/skyring.exe"

# The X server first: a prefix made without one keeps a screen size of its own guessing, which
# the game may be given later.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset 5>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(cat "$work/display")"

echo "== $("$wine" --version 2>>"$work/quiet"), a fresh prefix"
start=$(date +%s)
timeout 300 "$wine" wineboot --init >>"$work/quiet" 2>&1
echo "(the prefix took $(($(date +%s) - start)) s)"
cd "$work/zip"

run() {  # run TIMEOUT PROGRAM ARGS...: the program's status, its output in $work/out and $work/err
    limit=$1
    shift
    status=0
    timeout "$limit" "$wine" "$@" >"$work/out" 2>"$work/err" || status=$?
    return 0
}
for program in skyring skyring-replay; do
    run 60 "$program.exe" --version
    check "$program.exe --version prints the version" test "$status $(cat "$work/out")" = "0 $program $version"
    run 60 "$program.exe" --no-such-option
    check "$program.exe with a bad option ends with status 2 and the usage" \
        sh -c "test $status = 2 && grep -q '^usage: $program' '$work/err'"
done

echo "== traces of the soak's scripts, 5000 frames"
# Letters outside ASCII in the folder: the arguments and the file calls take them whole.
flights="$work/Sprünge über Zürich ☁"
mkdir "$flights"
for seed in 1 7; do
    "$native/tools/soak/skyring-soak" --frames 5000 --seed $seed --script-out "$flights/s$seed.txt" >"$work/soak.out"
    "$native/tools/replay/skyring-replay" --script "$flights/s$seed.txt" --frames 5000 --trace "$flights/native$seed.jsonl"
done
# The trace replaces a file that is there: in one step, and told apart from the script.
echo "an older trace" >"$flights/windows1.jsonl"
run 300 skyring-replay.exe --script "$(windows_path "$flights/s1.txt")" --frames 5000 \
    --trace "$(windows_path "$flights/windows1.jsonl")"
check "seed 1: skyring-replay.exe writes the native trace, byte for byte, over an older one" \
    sh -c "test $status = 0 && cmp '$flights/native1.jsonl' '$flights/windows1.jsonl'"
cp "$flights/s1.txt" "$work/script.txt"
run 60 skyring-replay.exe --script "$(windows_path "$flights/s1.txt")" --trace "..\\$(basename "$flights")\\s1.txt"
check "a trace over the script, named another way, is refused (status 2)" \
    sh -c "test $status = 2 && grep -q 'is the same file as --script' '$work/err' && cmp '$flights/s1.txt' '$work/script.txt'"
run 300 skyring-replay.exe --script "$(windows_path "$flights/s7.txt")" --frames 5000 --trace -
check "seed 7: the same on standard output" sh -c "test $status = 0 && cmp '$flights/native7.jsonl' '$work/out'"

# Ctrl+C in the middle of a run (Wine makes SIGINT the console's Ctrl+C): the partial trace
# goes, the older file stays as it was.
echo "an older trace" >"$work/older.jsonl"
cp "$work/older.jsonl" long.jsonl
"$wine" skyring-replay.exe --frames 100000000 --trace long.jsonl >"$work/out" 2>"$work/err" &
replay=$!
writing=no
for _ in $(seq 60); do
    if ls long.jsonl.partial-* >>"$work/quiet" 2>&1; then
        writing=yes
        break
    fi
    sleep 0.5
done
kill -INT "$replay"
wait "$replay" || true
check "Ctrl+C while the trace is written (partial file seen: $writing) leaves no partial, and the older trace" \
    sh -c "test $writing = yes && ! ls long.jsonl.partial-* >>'$work/quiet' 2>&1 && cmp long.jsonl '$work/older.jsonl'"

echo "== the game on Xvfb: on the whole screen, then in a window"
# The sky's colour, 0x00D6FF, on the screen.
sky_pixels() {
    xwd -root -silent -display "$DISPLAY" | convert xwd:- -depth 8 "$work/screen.png"
    convert "$work/screen.png" -fill black +opaque '#00D6FF' -fill white -opaque '#00D6FF' -format '%[fx:int(mean*w*h)]' info:
}
# start_game LEAST_SKY ARGS...: the game started, its window in $window, and the sky shown once
# the first frames are (at least LEAST_SKY pixels of it, in $sky).
start_game() {
    least=$1
    shift
    rm -f "$work/game.status"
    ("$wine" skyring.exe "$@" >"$work/game.out" 2>"$work/game.err"; echo $? >"$work/game.status") &
    game=$!
    window=""
    for _ in $(seq 120); do
        window=$(xdotool search --name '^Direct X Game $' 2>>"$work/quiet" | head -n 1) || true
        [ -n "$window" ] && break
        sleep 0.5
    done
    sky=0
    for _ in $(seq 40); do
        [ -n "$window" ] || break
        sky=$(sky_pixels)
        [ "$sky" -ge "$least" ] && break
        sleep 0.5
    done
}
# press KEY...: sent to the game's window. xdotool's complaints about a screen without a window
# manager are of no interest.
press() {
    for key in "$@"; do
        [ -z "$window" ] || xdotool key --window "$window" "$key" 2>>"$work/quiet"
    done
}
# The game's status once it has ended, or "none".
end_status() {
    for _ in $(seq 60); do
        [ -s "$work/game.status" ] && break
        sleep 0.5
    done
    [ -s "$work/game.status" ] || kill "$game" 2>>"$work/quiet" || true
    cat "$work/game.status" 2>>"$work/quiet" || echo "none: it did not end"
}

# On the whole screen, as a player starts it: far more sky than a window of 640x480 could show.
start_game 600000
check "full screen (the default): the game shows the sky across the screen ($sky pixels of it)" \
    test "$sky" -ge 600000
press Escape
game_status=$(end_status)
check "Escape ends it with status 0 (status $game_status)" test "$game_status" = 0

start_game 100000 --window
check "in a window: the game shows the sky ($sky pixels of it)" test "$sky" -ge 100000
[ -z "${SKYRING_WINE_SCREENSHOT:-}" ] || cp "$work/screen.png" "$SKYRING_WINE_SCREENSHOT"
press F12 m
sleep 2
press Escape
game_status=$(end_status)
check "Escape ends it with status 0 (status $game_status)" test "$game_status" = 0
check "with no sound output it plays in silence" grep -q 'playing in silence' "$work/game.err"
settings=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Roaming/Skyring/settings.ini' | head -n 1)
check "M is kept in %APPDATA%\\Skyring\\settings.ini" grep -qx 'mute = on' "${settings:-no settings.ini}"
# Wine's Pictures folder is the home's (or its Pictures), as the game's message names it.
picture=$(sed -n 's/^Skyring: the screen is saved as //p' "$work/game.err")
picture_saved() {
    case "$picture" in *'\Pictures\skyring-'*.png) ;; *) return 1 ;; esac
    find "$HOME" "$WINEPREFIX/drive_c/users" -name 'skyring-*.png' | grep -q .
}
check "F12 saves a picture in the Pictures folder ($picture)" picture_saved
if [ "$failed" -ne 0 ]; then
    echo "-- the game's standard error:"
    cat "$work/game.err"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
