# A whole game by a player who never dodges: the enemies' shots drive the ship crazy and then wear its
# health away; "Game Over" follows with the final score and the keys that leave it, Enter goes back to
# the title screen and Esc there quits with 0.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/../reliability/scripted_player.sh"

# a player who never fires scores 0: "Score: 0" under "Game Over" reads as the end of the title
# screen's "High Score: 0"; the keys' line below it, and no "New high score!"
score_line() { "$CONVERT" "$WORK/shot.png" -crop "64x8+$1+$2" +repage "$3"; }
on_game_over() {
    score_line 288 220 "$WORK/final.png"
    [ "$(compare -metric AE "$WORK/final.png" "$WORK/score0.png" null: 2>&1)" -le 2 ] ||
        fail "the game-over screen does not show \"Score: 0\" under \"Game Over\""
    screen_has "248 8 196 264 white 200 9999" "195 8 0 264 lit 0 0" "195 8 445 264 lit 0 0" ||
        fail "the game-over screen does not show its line of keys"
    screen_has "120 8 260 236 lit 0 0" || fail "the game-over screen claims a new high score for 0"
}

start_x
start_game
score_line 308 450 "$WORK/score0.png"
started=$SECONDS
GAME_OVER_WITHIN=150 play_game 0
echo "game over and back to the title screen after $((SECONDS - started)) s"
[ "$WENT_CRAZY" = 1 ] || fail "the game ended without the player seen going crazy"
[ "$GOT_HURT" = 1 ] || fail "the game ended without the player seen losing health while crazy"
quit
echo "PASS"
