# Start-up failures, signals and a lost display. With no display, and with each of the 29 media
# files missing in turn, the game stops with exit code 1 and the reason (naming the file), never
# with a crash (a damaged file takes the same way out; its reasons are the unit tests'); where it
# can, it tells the reason in a message box and waits for its OK. With no sound device the game
# plays silently. The X server going away ends the game at once with exit code 1 and one line on
# stderr, never by a signal: three times during a game and once on the title screen. SIGTERM and
# SIGINT end a start-up held up (by a FIFO in place of a picture in the copy of the media) at once,
# by the signal; sent at every millisecond of the game's first 30 ms, when the library and the
# window are half started, they end it by that very signal or with exit code 0: never by another
# signal (a crash, a core dump), never with an error, never a hang. (SIGTERM in a game, which
# quits with exit code 0, is in sound_test's stalls.)
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

# the display going away
for where in game game game title; do
    start_x
    start_game
    [ "$where" = title ] || play
    stop_x KILL
    ends_with 1 "the display going away on the $where screen"
    [ "$(grep -v '^ALSA' "$WORK/err")" = "Lost the connection to the display" ] ||
        fail "the display going away on the $where screen said: $(cat "$WORK/err")"
done

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

# signals in a start-up held up by a FIFO
rm "$WORK/run/media/banana.bmp" && mkfifo "$WORK/run/media/banana.bmp" # the first picture read
for signal in TERM INT; do
    launch_game "$WORK/run"
    wait_for "the game's window" find_window
    sleep 1
    running || fail "the start-up was not held up by the FIFO: $(cat "$WORK/err")"
    kill -"$signal" "$GAME_PID"
    ends_with $((128 + $(kill -l "$signal"))) "SIG$signal in a held-up start-up"
done

# no sound device: ALSA's default names a card that isn't there; a game still starts and ends
mkdir "$WORK/home"
echo 'pcm.!default { type hw; card 9 }' >"$WORK/home/.asoundrc"
HOME=$WORK/home start_game
play
quit

# signals in the first 30 ms
python3 - "$GAME" "${ROUNDS:-1}" <<'PY' || fail "a signal in the start-up did not end the game by itself"
import signal, subprocess, sys, time
game, rounds, bad, seen = sys.argv[1], int(sys.argv[2]), 0, {}
for sent in (signal.SIGTERM, signal.SIGINT):
    for ms in list(range(30)) * rounds:
        run = subprocess.Popen([game], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        time.sleep(ms / 1000)
        run.send_signal(sent)
        try:
            status = run.wait(timeout=5)
        except subprocess.TimeoutExpired:
            run.kill()
            status = "a hang"
        said = run.stderr.read().decode(errors="replace").strip()
        seen[status] = seen.get(status, 0) + 1
        if status not in (0, -sent):
            bad += 1
            why = status if status == "a hang" else f"signal {-status}" if status < 0 else f"exit code {status}"
            print(f"{sent.name} at {ms} ms ended the game by {why}: {said[-200:]}", file=sys.stderr)
print("runs by exit status:", ", ".join(f"{k}: {v}" for k, v in sorted(seen.items(), key=str)))
sys.exit(bad > 0)
PY
echo "PASS"
