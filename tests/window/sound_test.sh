# Sound: ALSA's default device writes Allegro's mix to a file, which tells when the game sounds.
# The title screen is silent, a game plays its background loop and the fire sound, and leaving
# the game stops the loop. The mix has headroom: a whole game by a player who holds fire and never
# dodges (kills, hits, a crazy spell and the ship blown up) has no sample at full scale, and the
# background loop can still be told apart under the effects. The file fills faster than the clock,
# which spreads the sounds apart: where they overlap as in real time the mix is louder, so the file
# must keep 3 dB below full scale.
# Pause and mute: P pauses a game, the picture stays with "Paused" over it, the level clock stands
# still and the game is silent; P again and the clock runs on, the background loop playing on from
# where it stopped. The Pause key does the same, and so does another window taking the keyboard
# focus: the game stays paused when the focus comes back, and P lets it run on. M silences a game,
# marks the picture's corner while the sound is off and brings the sound back. Esc in a paused game
# goes to the title screen. There every sound but the loop is silence, so the mix is the loop.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/../reliability/scripted_player.sh"

# play_from DIR: starts the game there, its sound going to the file, and waits for the title screen
play_from() {
    rm -f "$OUT"
    HOME=$WORK/home start_game "$1"
}
# the crossed-out loudspeaker in the bottom left corner, grey
mute_mark_shown() { screen_has "14 11 4 465 #a0a0a0 25 999"; }

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

# pause and mute, in a copy of the media where every sound but the loop is silence
media_sounding_only main.wav
play_from "$WORK/run"
play
for k in p Pause; do
    hold "$k" "the game paused by $k" paused_shown
    [ "$(loudness 20)" -eq 0 ] || fail "a game paused by $k is not silent"
    clock_stands_for 2.5
    unpause "$k"
    [ "$(loudness 10)" -gt 1000 ] || fail "the background loop does not come back after $k"
done

# the loop starts with the game, the first sound of the run, and the mix plays its 22050 Hz file at
# twice the rate: the second after the first pause should be the file from where the pause stopped it
python3 "$LIB_PY" resumed "$OUT" "$WORK/run/media/sound/main.wav" >"$WORK/resumed" ||
    fail "the mix could not be read"
read -r on_from_place from_start played <"$WORK/resumed"
echo "after ${played} s of the loop, likeness of what followed the pause to its place: $on_from_place, to its start: $from_start"
awk -v p="$on_from_place" 'BEGIN { exit !(p >= 0.95) }' ||
    fail "the loop did not play on from where it was paused (likeness $on_from_place, $from_start to its first bar)"

leave_game # and a new game, before the enemies win this one
play
xclock -geometry 60x60+0+400 2>/dev/null &
HELPERS+=($!)
wait_for "the other window" eval 'OTHER=$(xdotool search --onlyvisible --class xclock | head -1) && [ -n "$OTHER" ]'
xdotool windowfocus --sync "$OTHER"
wait_for "the game paused when the focus went" paused_shown
xdotool windowfocus --sync "$WIN"
clock_stands_for 2.5
unpause p
kill "${HELPERS[-1]}"

! mute_mark_shown || fail "a mark of the sound turned off shows while it is on"
# the mark tells that the game has seen the key: the mix runs ahead of the clock
hold m "the mark of the sound turned off" mute_mark_shown
[ "$(loudness 20)" -eq 0 ] || fail "M does not silence the game"
hold m "the mark to go with the sound back on" eval '! mute_mark_shown'
FROM=$(mixed)
wait_for "the sound back on a second M" heard

hold p "the game paused" paused_shown
press Escape
wait_for "the title screen after Esc in a paused game" title_shown
quit
echo "PASS"
