# What a player hears of pause and mute: a paused game is silent and its background loop plays on
# from where it stopped when the game goes on; M silences a game, marks the picture's corner while
# the sound is off and brings the sound back. The mix goes to a file as in sound_test.sh: lengths
# count sound, not wall-clock time; every sound but the loop is silence, so the mix is the loop.
source "$(dirname "$0")/desktop_lib.sh"
source "$(dirname "$0")/sound_lib.sh"

# loudness TENTHS: the largest swing from silence in the next stretch of that length, after half a
# second for what was sounding to die away
loudness() {
    local from
    wait_mixed 5
    from=$MIXED
    wait_mixed "$1"
    tail -c +$((from + 1)) "$OUT" | head -c $((MIXED - from)) | od -An -v -tu2 |
        awk '{ for (i = 1; i <= NF; i++) { d = $i - 32768; if (d < 0) d = -d; if (d > m) m = d } }
             END { print m + 0 }'
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
[ "$(loudness 90)" -gt 1000 ] || fail "the game's background loop is not heard"

press p
wait_for "the game paused" paused_shown
[ "$(loudness 20)" -eq 0 ] || fail "a paused game is not silent"
press p
wait_for "the game going on" eval '! paused_shown'
[ "$(loudness 10)" -gt 1000 ] || fail "the background loop does not come back after the pause"

# the loop starts with the game, the first sound of the run, and was paused after more than one
# round of it: the second after the pause should be the one that followed the same place 8 s earlier
python3 - "$OUT" <<'PY' >"$WORK/resumed" || fail "the mix could not be read"
import array, math, sys
pcm = array.array("H")
with open(sys.argv[1], "rb") as f:
    pcm.frombytes(f.read())
left = [v - 32768 for v in pcm[0::2]]
period, second = 8 * 44100, 44100
start = next(i for i, v in enumerate(left) if v)
stop = next(i for i in range(start, len(left)) if not any(left[i:i + second // 10]))
again = next(i for i in range(stop, len(left)) if left[i])
def likeness(a, b):
    a, b = left[a:a + second], left[b:b + second]
    return sum(x * y for x, y in zip(a, b)) / (math.sqrt(sum(x * x for x in a) * sum(y * y for y in b)) or 1)
print(round(likeness(again, stop - period), 2), round(likeness(again, start), 2), (stop - start) // second)
PY
read -r on_from_place from_start played <"$WORK/resumed"
echo "after ${played} s of the loop, likeness of what followed the pause to its place: $on_from_place, to its start: $from_start"
awk -v p="$on_from_place" 'BEGIN { exit !(p >= 0.95) }' ||
    fail "the loop did not play on from where it was paused (likeness $on_from_place, $from_start to its first bar)"

! mute_mark_shown || fail "a mark of the sound turned off shows while it is on"
press m
[ "$(loudness 20)" -eq 0 ] || fail "M does not silence the game"
wait_for "the mark of the sound turned off" mute_mark_shown
press m
[ "$(loudness 10)" -gt 1000 ] || fail "a second M does not bring the sound back"
wait_for "the mark to go with the sound back on" eval '! mute_mark_shown'
leave_game
quit
echo "PASS"
