# The mix has headroom: a whole game by a player who holds fire and never dodges (kills, hits, a
# crazy spell and the ship blown up), its sound written to a file as in sound_test.sh, has no
# sample at full scale, and the background loop can still be told apart under the effects. The file
# fills faster than the clock, which spreads the sounds apart: where they overlap as in real time
# the mix is louder, so the file must keep 3 dB below full scale.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/sound_lib.sh"
source "$(dirname "$0")/../reliability/scripted_player.sh"

start_x
HOME=$WORK/home launch_game
wait_for "the game's window" find_window
xdotool mousemove 100 100
wait_for "the title screen" title_shown
GAME_OVER_WITHIN=150 play_game 0 space
[ "$WENT_CRAZY" = 1 ] || fail "the game ended without the player seen going crazy"
wait_mixed 20 # the last booms die away
quit_cleanly

# the loop starts with the game, the first sound of the run, and repeats every 8 s until the ship is
# lost: a stretch of the mix against the same stretch 8 s later tells the loop's share of the sound
python3 - "$OUT" <<'PY' >"$WORK/mix" || fail "the mix could not be read: $(cat "$WORK/mix")"
import array, math, sys
pcm = array.array("H")
with open(sys.argv[1], "rb") as f:
    pcm.frombytes(f.read())
s = [v - 32768 for v in pcm]
full = sum(1 for v in s if v >= 32767 or v <= -32767)
left = s[0::2]
start = next(i for i, v in enumerate(left) if v)
period = 8 * 44100
end = start + 2 * period  # the first two bars of the loop beside the next two
a, b = left[start:end], left[start + period:end + period]
dot = sum(x * y for x, y in zip(a, b))
norm = math.sqrt(sum(x * x for x in a) * sum(y * y for y in b)) or 1
peak = max(abs(v) for v in s) or 1
print(full, round(20 * math.log10(peak / 32768), 1), round(dot / norm, 2), len(left) // 44100)
PY
read -r full peak share seconds <"$WORK/mix"
echo "in ${seconds} s of sound: $full samples at full scale, peak $peak dBFS, loop correlation $share"
[ "$full" -eq 0 ] || fail "$full samples of the mix are at full scale (peak $peak dBFS)"
awk -v p="$peak" 'BEGIN { exit !(p <= -3) }' || fail "the mix peaks at $peak dBFS, less than 3 dB below full scale"
awk -v s="$share" 'BEGIN { exit !(s >= 0.3) }' ||
    fail "the background loop is lost under the effects: its correlation 8 s on is $share, under 0.3"
echo "PASS"
