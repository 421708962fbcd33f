# scripted_player.sh: a player who never dodges, for the sound test's whole game and the soak.
# Sourced after tests/window/lib.sh, with the game started by start_game. The ship stays where it
# starts and the enemies' aimed shots find it: its insanity fills (8 a shot), it goes crazy, and the
# shots then wear its health away (4 a shot) until the game is over, some 15 s into a one-player
# game.

on_poll() { :; } # what a caller wants done while waiting (the soak reads the game's memory)

# within SECONDS COMMAND...: runs the command until it succeeds (0) or the time is up or the game
# has ended (1)
within() {
    local end=$((SECONDS + $1))
    until "${@:2}"; do
        [ "$SECONDS" -lt "$end" ] && running || return 1
        on_poll
        sleep 0.2
    done
}

# crazy: the countdown in the insanity frame and its bar red out to the frame's right end
crazy_shown() { screen_has "36 8 32 12 white 15 999" "8 7 96 12 lit 50 56"; }
# hurt: the health frame is there but its blue bar no longer reaches the right end
hurt_shown() { screen_has "100 1 5 30 white 90 101" "8 7 96 32 #0000ff 0 0"; }

# choose SEL: starts a one (0) or two (1) player game from the title screen: Down until the bananas
# show the choice, so that Enter never falls on Exit, then Enter held until the game shows
choose() {
    wait_for "the bananas beside choice $1" eval "bananas_at $1 || { press Down && false; }"
    hold Return "a game of choice $1" in_game
}

# watch_game: notes whether the player has gone crazy, and is done at game over
watch_game() {
    [ "$MOUSE_GUN" = 0 ] || xdotool mousemove $((RANDOM % 620)) $((RANDOM % 460))
    [ "$WENT_CRAZY" = 1 ] || ! crazy_shown || WENT_CRAZY=1
    game_over_shown
}

# play_game SEL [FIRE]: plays a game of the choice, the ship holding still (and holding FIRE, a key
# of the keyboard gun, if given; a two-player game holds the mouse button too, its crosshair wandering)
# until "Game Over" (within GAME_OVER_WITHIN seconds, 240 by default); Enter then goes back to the
# title screen. Sets WENT_CRAZY (0 or 1).
play_game() {
    WENT_CRAZY=0 MOUSE_GUN=$1
    choose "$1"
    [ -z "${2:-}" ] || xdotool keydown "$2"
    [ "$MOUSE_GUN" = 0 ] || xdotool mousedown 1
    if ! within "${GAME_OVER_WITHIN:-240}" watch_game; then
        running || fail "the game ended while waiting for the game-over screen"
        fail "timed out after ${GAME_OVER_WITHIN:-240} s waiting for the game-over screen"
    fi
    [ -z "${2:-}" ] || xdotool keyup "$2"
    [ "$MOUSE_GUN" = 0 ] || xdotool mousemove 100 100 mouseup 1
    for _ in 1 2 3; do
        press Return
        within 5 title_shown && return 0
        game_over_shown || break
    done
    fail "Enter on the game-over screen did not lead back to the title screen"
}
