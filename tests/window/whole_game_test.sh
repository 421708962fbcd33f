# A whole game by a player who never dodges: the enemies' shots drive the ship crazy and then wear its
# health away; "Game Over" follows, Enter goes back to the title screen and Esc there quits with 0.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/../reliability/scripted_player.sh"

start_x
start_game
started=$SECONDS
GAME_OVER_WITHIN=150 play_game 0
echo "game over and back to the title screen after $((SECONDS - started)) s"
[ "$WENT_CRAZY" = 1 ] || fail "the game ended without the player seen going crazy"
[ "$GOT_HURT" = 1 ] || fail "the game ended without the player seen losing health while crazy"
sleep 0.5 # the title screen ignores the keyboard for its first 15 ticks (0.3 s)
quit_cleanly
[ "$STATUS" -eq 0 ] || fail "Esc on the title screen after the game over gave exit code $STATUS, not 0"
echo "PASS"
