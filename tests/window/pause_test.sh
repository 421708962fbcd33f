# Pause and mute: P pauses a game, the picture stays with "Paused" over it, the level clock stands
# still and the game is silent; P again and the clock runs on, the background loop playing on from
# where it stopped. The Pause key does the same, and so does another window taking the keyboard
# focus: the game stays paused when the focus comes back, and P lets it run on. M silences a game,
# marks the picture's corner while the sound is off and brings the sound back. Esc in a paused game
# goes to the title screen. Every sound but the loop is silence, so the mix is the loop.
source "$(dirname "$0")/lib.sh"

# the crossed-out loudspeaker in the bottom left corner, grey
mute_mark_shown() { screen_has "14 11 4 465 #a0a0a0 25 999"; }

sound_to_file
media_sounding_only main.wav
start_x
HOME=$WORK/home start_game "$WORK/run"
play
[ "$(loudness 10)" -gt 1000 ] || fail "the game's background loop is not heard"

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
sleep 0.5
quit
echo "PASS"
