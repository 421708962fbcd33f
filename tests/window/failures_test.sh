# Start-up failures: with no display, with each of the 29 media files missing in turn, a truncated
# picture and a truncated sound the game stops with exit code 1 and the reason (naming the file),
# never with a crash; where it can, it tells the reason in a message box and waits for its OK.
# With no sound device the game plays silently.
source "$(dirname "$0")/lib.sh"

# Allegro shows its messages through xmessage when it can; this stand-in can't, so they come on
# stdout at once
mkdir "$WORK/bin" "$WORK/run"
ln -s /bin/false "$WORK/bin/xmessage"
cp -r media "$WORK/run/"
RUN=$(cd "$WORK/run" && pwd -P)

# refused WHAT STREAM TEXT: the game started on the copy of the media exits with 1 and TEXT on
# the stream (out or err), leaving no core dump
refused() {
    STATUS=0
    (cd "$WORK/run" && { ulimit -c unlimited 2>/dev/null || true; } &&
        PATH=$WORK/bin:$PATH exec timeout 20 "$GAME") >"$WORK/out" 2>"$WORK/err" || STATUS=$?
    [ "$STATUS" -ne 124 ] || fail "$1: the game ran on until stopped after 20 s"
    [ "$STATUS" -eq 1 ] || fail "$1: the game exited with $STATUS, not 1"
    grep -qF "$3" "$WORK/$2" || fail "$1: the game said: $(cat "$WORK/out" "$WORK/err")"
    [ -z "$(find "$WORK/run" -maxdepth 1 -name 'core*')" ] || fail "$1: the game left a core dump"
}
# box_says FILE: the game started on the copy of the media, with the file missing, shows the
# message naming it in an xmessage box; once the box's OK is pressed it exits with 1
box_says() {
    launch_game "$WORK/run"
    wait_for "the game to show its message" eval 'box=$(pgrep -P "$GAME_PID" -x xmessage)'
    message=$(ps -o args= -p "$box")
    wait_for "the message box's window" eval 'box_window=$(xdotool search --onlyvisible --name "^xmessage$")'
    xdotool mousemove --window "$box_window" 20 20 sleep 0.2 key Return # its default button: OK
    ends_with 1 "the message box without media/$1"
    grep -qF "Couldn't load $RUN/media/$1: no such file" <<<"$message" || fail "without media/$1 it said: $message"
}

(unset DISPLAY && refused "without a display" err "Couldn't start the Allegro library: ")

start_x
mapfile -t files < <(cd media && find . -type f -printf '%P\n' | sort)
[ ${#files[@]} -eq 29 ] || fail "media/ holds ${#files[@]} files, not the game's 29"
for file in "${files[@]}"; do
    mv "$WORK/run/media/$file" "$WORK/aside"
    case $file in
    ship.bmp | crazy/enemy3.bmp | sound/fire.wav | sound/crazylaugh.wav) box_says "$file" ;;
    *) refused "$file" out "Couldn't load $RUN/media/$file: no such file" ;;
    esac
    mv "$WORK/aside" "$WORK/run/media/$file"
done

# damaged files: a sound cut in the middle of its header, a picture cut after its headers
head -c 22 media/sound/main.wav >"$WORK/run/media/sound/main.wav"
refused sound/main.wav out "Couldn't load $RUN/media/sound/main.wav: "
cp media/sound/main.wav "$WORK/run/media/sound/main.wav"
head -c 100 media/ship.bmp >"$WORK/run/media/ship.bmp"
refused ship.bmp out "Couldn't load $RUN/media/ship.bmp: "
cp media/ship.bmp "$WORK/run/media/ship.bmp"

# no sound device: ALSA's default names a card that isn't there; a game still starts and ends
mkdir "$WORK/home"
echo 'pcm.!default { type hw; card 9 }' >"$WORK/home/.asoundrc"
HOME=$WORK/home start_game
play
quit
echo "PASS"
