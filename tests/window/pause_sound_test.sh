# What a player hears of pause and mute: a paused game is silent and its background loop comes back
# when it goes on; M silences a game and brings its sound back. The mix goes to a file as in
# sound_test.sh: lengths count sound, not wall-clock time.
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

start_x
HOME=$WORK/home launch_game
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

press m
[ "$(loudness 20)" -eq 0 ] || fail "M does not silence the game"
press m
[ "$(loudness 10)" -gt 1000 ] || fail "a second M does not bring the sound back"
leave_game
quit
echo "PASS"
