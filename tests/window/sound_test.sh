# Sound: ALSA's default device writes Allegro's mix to a file, which tells when the game sounds.
# The title screen is silent, a game plays its background loop and the fire sound, and leaving
# the game stops the loop.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/keys_lib.sh"
source "$(dirname "$0")/sound_lib.sh"

# loudest FROM TO: the largest swing from silence in that stretch of the mix, from a whole frame
loudest() {
    local from=$(($1 / 4 * 4))
    tail -c +$((from + 1)) "$OUT" | head -c $(($2 - from)) | od -An -v -tu2 |
        awk '{ for (i = 1; i <= NF; i++) { d = $i - 32768; if (d < 0) d = -d; if (d > m) m = d } }
             END { print m + 0 }'
}

# play_from DIR: starts the game there, its sound going to the file, and waits for the title screen
play_from() {
    rm -f "$OUT"
    HOME=$WORK/home launch_game "$1"
    wait_for "the game's window" find_window
    xdotool mousemove 100 100
    wait_for "the title screen" title_shown
}
# heard: something sounds in the mix after FROM, which moves on past each stretch found silent
heard() {
    local end
    end=$(mixed)
    [ "$(loudest "$FROM" "$end")" -gt 1000 ] || { FROM=$end && false; }
}

start_x
play_from .
wait_mixed 50
[ "$(loudest 0 "$MIXED")" -eq 0 ] || fail "the title screen is not silent"
play # the loop starts with the game, so it sounds at once
start=$(mixed)
wait_mixed 10
[ "$(loudest "$start" "$MIXED")" -gt 1000 ] || fail "the game's background loop is not heard"
leave_game
wait_mixed 10 # whatever was sounding as the game ended dies away
start=$MIXED
wait_mixed 20
[ "$(loudest "$start" "$MIXED")" -eq 0 ] || fail "the background loop goes on after the game"
quit

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
leave_game
quit
echo "PASS"
