# keys_lib.sh: moves through the screens with key presses that a busy machine cannot lose (a press
# that the game's ticks all miss is never seen). Sourced after lib.sh.

# play: holds Enter on the title screen until a game shows; in a game Enter does nothing
play() {
    xdotool keydown Return
    wait_for "a game" game_shown
    xdotool keyup Return
}

# leave_game: Esc back to the title screen, pressed again only while the game stays on screen, as
# a second press that reached the title screen would quit
leave_game() {
    local end=$((SECONDS + 20)) again=$((SECONDS + 3))
    press Escape
    until title_shown; do
        [ "$SECONDS" -lt "$end" ] || fail "timed out waiting for the title screen after a game"
        if [ "$SECONDS" -ge "$again" ] && game_shown; then
            press Escape
            again=$((SECONDS + 3))
        fi
        sleep 0.1
    done
}

# quit: Esc on the title screen until the game ends, with exit code 0
quit() {
    wait_for "the game to quit" eval 'press Escape; ! running'
    wait_exit
    [ "$STATUS" -eq 0 ] || fail "the game quit with exit code $STATUS, not 0"
}

# launcher_runs LAUNCHER PROGRAM FOLDER: the launcher, started from /, runs that program in that
# working folder; the title screen shows and Esc quits with 0
launcher_runs() {
    GAME=$1 launch_game /
    wait_for "the game's window" find_window
    [ "$(readlink "/proc/$GAME_PID/exe")" = "$2" ] && [ "$(readlink "/proc/$GAME_PID/cwd")" = "$3" ] ||
        fail "$1 ran $(readlink "/proc/$GAME_PID/exe") in $(readlink "/proc/$GAME_PID/cwd")"
    xdotool mousemove 100 100
    wait_for "the title screen" title_shown
    quit
}
