# What a player hears of pause and mute: a paused game is silent and its background loop plays on
# from where it stopped when the game goes on; M silences a game, marks the picture's corner while
# the sound is off and brings the sound back. The mix goes to a file as in sound_test.sh: lengths
# count sound, not wall-clock time; every sound but the loop is silence, so the mix is the loop.
source "$(dirname "$0")/desktop_lib.sh"
source "$(dirname "$0")/sound_lib.sh"

# swing FROM TO: the largest swing from silence in that stretch of the mix
swing() {
    tail -c +$(($1 + 1)) "$OUT" | head -c $(($2 - $1)) | od -An -v -tu2 |
        awk '{ for (i = 1; i <= NF; i++) { d = $i - 32768; if (d < 0) d = -d; if (d > m) m = d } }
             END { print m + 0 }'
}
# loudness TENTHS: the largest swing in the next stretch of that length, after half a second for
# what was sounding to die away
loudness() {
    local from
    wait_mixed 5
    from=$MIXED
    wait_mixed "$1"
    swing "$from" "$MIXED"
}
# heard_now: the last second of the mix is heard; on a busy machine the sound the game has just let
# go can take a moment to reach the file
heard_now() {
    local end=$(($(mixed) / 4 * 4))
    [ "$end" -gt "$SECOND" ] && [ "$(swing $((end - SECOND)) "$end")" -gt 1000 ]
}
# the crossed-out loudspeaker in the bottom left corner, grey
mute_mark_shown() { screen_has "14 11 4 465 #a0a0a0 25 999"; }

media_sounding_only main.wav
start_x
HOME=$WORK/home launch_game "$WORK/run"
wait_for "the game's window" find_window
xdotool mousemove 100 100
wait_for "the title screen" title_shown
play
[ "$(loudness 10)" -gt 1000 ] || fail "the game's background loop is not heard"

press p
wait_for "the game paused" paused_shown
[ "$(loudness 20)" -eq 0 ] || fail "a paused game is not silent"
press p
wait_for "the game going on" eval '! paused_shown'
[ "$(loudness 10)" -gt 1000 ] || fail "the background loop does not come back after the pause"

# the loop starts with the game, the first sound of the run, and the mix plays its 22050 Hz file at
# twice the rate: the second after the pause should be the file from where the pause stopped it
python3 - "$OUT" "$WORK/run/media/sound/main.wav" <<'PY' >"$WORK/resumed" || fail "the mix could not be read"
import array, math, sys, wave
pcm = array.array("H")
with open(sys.argv[1], "rb") as f:
    pcm.frombytes(f.read())
with wave.open(sys.argv[2]) as w:
    loop = array.array("h", w.readframes(w.getnframes()))
left = [v - 32768 for v in pcm[0::2]]
second = 44100
start = next(i for i, v in enumerate(left) if v)
stop = next(i for i in range(start, len(left)) if not any(left[i:i + second // 10]))
again = next(i for i in range(stop, len(left)) if left[i])
def likeness(at):  # the best within a few samples: a loop's own zero samples blur the edges
    a = left[again:again + second:2]
    best = -1
    for shift in range(-3, 4):
        b = [loop[(at + shift + j) % len(loop)] for j in range(len(a))]
        norm = math.sqrt(sum(x * x for x in a) * sum(y * y for y in b)) or 1
        best = max(best, sum(x * y for x, y in zip(a, b)) / norm)
    return best
print(round(likeness((stop - start) // 2), 2), round(likeness(0), 2), round((stop - start) / second, 1))
PY
read -r on_from_place from_start played <"$WORK/resumed"
echo "after ${played} s of the loop, likeness of what followed the pause to its place: $on_from_place, to its start: $from_start"
awk -v p="$on_from_place" 'BEGIN { exit !(p >= 0.95) }' ||
    fail "the loop did not play on from where it was paused (likeness $on_from_place, $from_start to its first bar)"

! mute_mark_shown || fail "a mark of the sound turned off shows while it is on"
press m # the mark tells that the game has seen the key: the mix runs ahead of the clock
wait_for "the mark of the sound turned off" mute_mark_shown
[ "$(loudness 20)" -eq 0 ] || fail "M does not silence the game"
press m
wait_for "the mark to go with the sound back on" eval '! mute_mark_shown'
wait_for "the sound back on a second M" heard_now
leave_game
quit
echo "PASS"
