# Sound: ALSA's default device writes Allegro's mix to a file, which tells when the game sounds.
# The title screen is silent, a game plays its background loop and the fire sound, and leaving
# the game stops the loop. The mix has headroom: a whole game by a player who holds fire and never
# dodges (kills, hits, a crazy spell and the ship blown up) has no sample at full scale, and the
# background loop can still be told apart under the effects. The file fills faster than the clock,
# which spreads the sounds apart: where they overlap as in real time the mix is louder, so the file
# must keep 3 dB below full scale.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/../reliability/scripted_player.sh"

# play_from DIR: starts the game there, its sound going to the file, and waits for the title screen
play_from() {
    rm -f "$OUT"
    HOME=$WORK/home start_game "$1"
}

sound_to_file
start_x
play_from .
wait_mixed 50
[ "$(loudest 0 "$MIXED")" -eq 0 ] || fail "the title screen is not silent"
play # the loop starts with the game, so it sounds at once
[ "$(loudness 10)" -gt 1000 ] || fail "the game's background loop is not heard"
leave_game
wait_mixed 5 # with loudness's half second, whatever was sounding as the game ended dies away
[ "$(loudness 20)" -eq 0 ] || fail "the background loop goes on after the game"

# a whole game, and the mix of it from the silent title screen on
whole_game=$(($(mixed) / 4 * 4))
GAME_OVER_WITHIN=150 play_game 0 space
[ "$WENT_CRAZY" = 1 ] || fail "the game ended without the player seen going crazy"
wait_mixed 20 # the last booms die away
quit

# the loop starts with the game, the first sound after the title screen's silence, and repeats
# every 8 s until the ship is lost: a stretch of the mix against the same stretch 8 s later tells
# the loop's share of the sound
python3 "$LIB_PY" headroom "$OUT" "$whole_game" >"$WORK/mix" ||
    fail "the mix could not be read: $(cat "$WORK/mix")"
read -r full peak share seconds <"$WORK/mix"
echo "in ${seconds} s of sound: $full samples at full scale, peak $peak dBFS, loop correlation $share"
[ "$full" -eq 0 ] || fail "$full samples of the mix are at full scale (peak $peak dBFS)"
awk -v p="$peak" 'BEGIN { exit !(p <= -3) }' || fail "the mix peaks at $peak dBFS, less than 3 dB below full scale"
awk -v s="$share" 'BEGIN { exit !(s >= 0.3) }' ||
    fail "the background loop is lost under the effects: its correlation 8 s on is $share, under 0.3"

# the fire sound, in a copy of the media where every other sound is silence
media_sounding_only fire.wav
play_from "$WORK/run"
play
wait_mixed 10
[ "$(loudest 0 "$MIXED")" -eq 0 ] || fail "the game sounds before anything is fired"
FROM=$MIXED
xdotool keydown space
wait_for "the fire sound" heard
xdotool keyup space
quit
echo "PASS"
