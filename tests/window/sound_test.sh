# Sound, pause and stalls. ALSA's default device writes Allegro's mix to a file, which tells when
# the game sounds. The title screen is silent, a game plays its background loop and the fire sound,
# and leaving the game stops the loop. The mix has headroom: a whole game by a player who holds fire
# and never dodges (kills, hits, a crazy spell and the ship blown up) has no sample at full scale,
# and the background loop can still be told apart under the effects. The file fills faster than the
# clock, which spreads the sounds apart: where they overlap as in real time the mix is louder, so
# the file must keep 3 dB below full scale.
# Pause and mute: P pauses a game, the picture stays with "Paused" over it, the level clock stands
# still and the game is silent; P again and the clock runs on, the background loop playing on from
# where it stopped. The Pause key does the same, and so does another window taking the keyboard
# focus: the game stays paused when the focus comes back, and P lets it run on. M silences a game,
# marks the picture's corner while the sound is off and brings the sound back. Esc in a paused game
# goes to the title screen. There every sound but the loop is silence, so the mix is the loop.
# A game stopped for several seconds (SIGSTOP, as Ctrl-Z does) and then continued does not play the
# missed time in a burst: its level clock has moved by no more than the time the game actually ran,
# and the player is neither crazy nor hurt.
# A sound output that takes no more samples (ALSA writing the mix into a FIFO held open and never
# read) freezes neither the picture nor the keys: the title screen moves on, Enter starts a game,
# and Esc, the close button and SIGTERM each end the game within a second, with exit code 0. A FIFO
# that nobody opens leaves the game silent but never holds up its start, and an X server that stops
# answering under a game or its start does not hold up SIGTERM (which ends a start by the signal).
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
read -r full peak share seconds < <(python3 "$LIB_PY" headroom "$OUT" "$whole_game") ||
    fail "the mix of the whole game could not be read"
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
    stays_paused_until "$k"
    [ "$(loudness 10)" -gt 1000 ] || fail "the background loop does not come back after $k"
done

# the loop starts with the game, the first sound of the run, and the mix plays its 22050 Hz file at
# twice the rate: the second after the first pause should be the file from where the pause stopped it
read -r on_from_place from_start played < <(python3 "$LIB_PY" resumed "$OUT" "$WORK/run/media/sound/main.wav") ||
    fail "the mix of the paused loop could not be read"
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
stays_paused_until p
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

now_ms() { date +%s%3N; }
STALL=5

CATCH_UP_MS=200 # the ticks a game runs at once after a stop, at most
# run_for SECONDS: a stopped game (SIGSTOP) run on for that long and stopped again; RAN_MS adds the
# time it ran and the ticks it caught up
RAN_MS=0
run_for() {
    local from
    from=$(now_ms)
    kill -CONT "$GAME_PID" && sleep "$1" && kill -STOP "$GAME_PID"
    RAN_MS=$((RAN_MS + $(now_ms) - from + CATCH_UP_MS))
}
# stopped_clock_to FILE: the game stopped, and its clock as two screenshots a fifth of a second of
# the game apart agree on it (a passing enemy is gone by the second). However slow the screenshots,
# reading the clock this way costs the game no time.
stopped_clock_to() {
    kill -STOP "$GAME_PID" && shoot && clock_to "$1"
    until run_for 0.2 && shoot && clock_to "$WORK/again.png" && same_clock "$1" "$WORK/again.png"; do
        cp "$WORK/again.png" "$1"
    done
}

# seconds_played WHEN: SEEN, how many seconds the clock has run, by the pictures learnt, with the game
# left stopped; a time not among them fails the test
seconds_played() {
    stopped_clock_to "$WORK/read.png"
    for SEEN in $(seq 0 "$LEARNT"); do
        if same_clock "$WORK/read.png" "$WORK/clock-$SEEN.png"; then return 0; fi
    done
    fail "$1 the clock showed a time other than the first $LEARNT s of a game"
}

# a game stopped and continued: first the clock's pictures, a second apart from the start of a
# game, $WORK/clock-N.png showing N seconds played
start_game
play
LEARNT=8 # seconds: short of the time a ship sitting still lasts
stopped_clock_to "$WORK/clock-0.png"
for n in $(seq "$LEARNT"); do
    wait_for "the level clock's next second" eval \
        'stopped_clock_to "$WORK/clock-$n.png" && ! same_clock "$WORK/clock-$n.png" "$WORK/clock-$((n - 1)).png"'
done
kill -CONT "$GAME_PID"
leave_game

play
sleep 1
seconds_played "in a new game"
before=$SEEN
sleep "$STALL" # the game stopped since it was read
RAN_MS=0
run_for 0.5
seconds_played "after the stall"
# the clock shows whole seconds, so it may read one more than the time run
allowed=$(((RAN_MS + 999) / 1000 + 1))
[ $((SEEN - before)) -le "$allowed" ] ||
    fail "the clock moved $((SEEN - before)) s over a stall of $STALL s in which the game ran $RAN_MS ms"
echo "a stall of $STALL s: the clock moved $((SEEN - before)) s, the game ran $RAN_MS ms"
game_shown || fail "the game is over after the stall"
! crazy_shown || fail "the player went crazy in the stall"
! hurt_shown || fail "the player was hurt in the stall"
kill -CONT "$GAME_PID"
quit

# ended_in_time WHAT STATUS COMMAND...: the command ends the game within a second, with that exit
# status; an X server stopped under the game goes on once it has ended or the second has passed
ended_in_time() {
    local what=$1 status=$2 from
    from=$(now_ms)
    "${@:3}"
    while running && [ $(($(now_ms) - from)) -le 1000 ]; do sleep 0.02; done
    kill -CONT "$XVFB_PID"
    ! running || fail "$what did not end the game within a second"
    echo "$what: ended in $(($(now_ms) - from)) ms"
    ends_with "$status" "$what"
}
# moving: the picture changes from one moment to the next
moving() {
    shoot && mv "$WORK/shot.png" "$WORK/before.png" && sleep 0.3 && shoot
    [ "$("$CONVERT" "$WORK/before.png" "$WORK/shot.png" -metric AE -compare -format '%[distortion]' info:)" -gt 0 ]
}
# stalled_game: a game whose sound goes into the FIFO, once the FIFO is full
stalled_game() {
    HOME=$WORK/home start_game
    ls -l "/proc/$GAME_PID/fd" | grep -q "$OUT" || fail "the game's sound does not go into the FIFO"
    sleep 1 # more mix than the FIFO holds
    moving || fail "the title screen stands still behind the stalled sound"
    play
}

# the sound stalled
rm "$OUT" && mkfifo "$OUT"
exec 7<>"$OUT" # held open, never read
stalled_game
leave_game
ended_in_time "Esc on the title screen with the sound stalled" 0 press Escape
stalled_game
ended_in_time "the close button with the sound stalled" 0 request_close
stalled_game
ended_in_time "SIGTERM with the sound stalled" 0 kill -TERM "$GAME_PID"

exec 7>&- # nobody opens the FIFO now
HOME=$WORK/home start_game
play
leave_game
ended_in_time "Esc on the title screen with a sound FIFO nobody opens" 0 press Escape

start_game
play
kill -STOP "$XVFB_PID" && sleep 0.5
ended_in_time "SIGTERM in a game with the X server stopped" 0 kill -TERM "$GAME_PID"
launch_game
kill -STOP "$XVFB_PID" && sleep 0.5
ended_in_time "SIGTERM in a start-up with the X server stopped" $((128 + 15)) kill -TERM "$GAME_PID"
echo "PASS"
