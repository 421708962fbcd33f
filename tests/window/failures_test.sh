# Start-up failures: each of the 29 media files missing in turn, a truncated picture and a
# truncated sound each stop the game with exit code 1 and the file's name, never with a crash; with
# no sound device the game plays silently.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/keys_lib.sh"

# Allegro shows its messages through xmessage when it can; this stand-in can't, so they come on
# stdout at once (startup_failure_test.sh answers the real message box)
mkdir "$WORK/bin" "$WORK/run"
printf '#!/bin/sh\nexit 1\n' >"$WORK/bin/xmessage"
chmod +x "$WORK/bin/xmessage"
cp -r media "$WORK/run/"

# refuses FILE: the game started on the copy of the media names media/FILE in full and exits with 1
refuses() {
    STATUS=0
    (cd "$WORK/run" && { ulimit -c unlimited 2>/dev/null || true; } &&
        PATH=$WORK/bin:$PATH exec timeout 20 "$GAME") >"$WORK/out" 2>"$WORK/err" || STATUS=$?
    [ "$STATUS" -ne 124 ] || fail "$1: the game took the file and ran on until stopped after 20 s"
    [ "$STATUS" -eq 1 ] || fail "$1: the game exited with $STATUS, not 1"
    grep -qF "Couldn't load $(cd "$WORK/run" && pwd -P)/media/$1: " "$WORK/out" ||
        fail "$1: the game said: $(cat "$WORK/out")"
    [ -z "$(find "$WORK/run" -maxdepth 1 -name 'core*')" ] || fail "$1: the game left a core dump"
}

start_x
mapfile -t files < <(cd media && find . -type f -printf '%P\n' | sort)
[ ${#files[@]} -eq 29 ] || fail "media/ holds ${#files[@]} files, not the game's 29"
for file in "${files[@]}"; do
    mv "$WORK/run/media/$file" "$WORK/aside"
    refuses "$file"
    mv "$WORK/aside" "$WORK/run/media/$file"
done

# no sound device: ALSA's default names a card that isn't there; a game still starts and ends
mkdir "$WORK/home"
echo 'pcm.!default { type hw; card 9 }' >"$WORK/home/.asoundrc"
HOME=$WORK/home launch_game
wait_for "the game's window" find_window
xdotool mousemove 100 100
wait_for "the title screen without sound" title_shown
play
leave_game
quit

# damaged files: a sound cut in the middle of its header, a picture cut after its headers
head -c 22 media/sound/main.wav >"$WORK/run/media/sound/main.wav"
refuses sound/main.wav
cp media/sound/main.wav "$WORK/run/media/sound/main.wav"
head -c 100 media/ship.bmp >"$WORK/run/media/ship.bmp"
refuses ship.bmp
echo "PASS"
