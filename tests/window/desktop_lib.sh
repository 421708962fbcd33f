# desktop_lib.sh: what the desktop tests share: a game under way, the paused game on screen and the
# level clock read from screenshots. Brings in lib.sh and keys_lib.sh.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/keys_lib.sh"

# game_under_way: a display, the game on it and a one-player game started
game_under_way() {
    start_x
    start_game
    play
}

# a paused game: the framed "Paused" over the game's picture, its status texts still top right
paused_shown() {
    screen_has "300 1 170 205 white 290 301" "48 8 296 215 white 20 999" "100 8 540 5 white 20 999"
}

# clock_to FILE: the minutes and seconds of "Next Level In m:ss" in the last screenshot, as a
# picture of its white pixels
clock_to() { "$CONVERT" "$WORK/shot.png" -crop 32x8+608+5 +repage -fuzz 8% -fill black +opaque white "$1"; }
# same_clock A B: the two pictures show the same time: a star or two may fall across the text
same_clock() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" -le 2 ]; }
# steady_clock_to FILE: the clock as two screenshots a moment apart agree on it (a passing enemy
# is gone by the second)
steady_clock_to() {
    shoot && clock_to "$1"
    until sleep 0.3 && shoot && clock_to "$WORK/again.png" && same_clock "$1" "$WORK/again.png"; do
        cp "$WORK/again.png" "$1"
    done
}
# clock_moved_from FILE: a new screenshot whose clock differs from the one in FILE
clock_moved_from() { shoot && clock_to "$WORK/now.png" && ! same_clock "$1" "$WORK/now.png"; }
# clock_stands_for SECONDS: the clock shows the same all that time, and the game stays paused
clock_stands_for() {
    shoot && clock_to "$WORK/stood.png"
    sleep "$1"
    paused_shown || fail "the game no longer shows it is paused"
    ! clock_moved_from "$WORK/stood.png" || fail "the level clock moved while the game was paused"
}
