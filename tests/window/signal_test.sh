# Signals and a lost display: SIGTERM and SIGINT end a start-up held up (by a FIFO in place of a
# picture in a copy of the media) at once, by the signal (SIGTERM in a game, which quits with exit
# code 0, is stall_test's). Sent at every millisecond of the game's first 30 ms, when the library
# and the window are half started, they end it by that very signal or with exit code 0: never by
# another signal (a crash, a core dump), never with an error, never a hang. The X server going away
# ends the game at once with exit code 1 and one line on stderr, never by a signal: three times
# during a game and once on the title screen.
source "$(dirname "$0")/lib.sh"

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
mkdir "$WORK/run" && cp -r media "$WORK/run/"
rm "$WORK/run/media/banana.bmp" && mkfifo "$WORK/run/media/banana.bmp" # the first picture read
for signal in TERM INT; do
    launch_game "$WORK/run"
    wait_for "the game's window" find_window
    sleep 1
    running || fail "the start-up was not held up by the FIFO: $(cat "$WORK/err")"
    kill -"$signal" "$GAME_PID"
    ends_with $((128 + $(kill -l "$signal"))) "SIG$signal in a held-up start-up"
done

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
