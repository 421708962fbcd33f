# Under Wine, a picture missing from the Windows zip's media is told in a message box, and once
# it is answered the program ends with exit code 1 within its time bound. Argument: the dist
# folder.
source "$(dirname "$0")/../window/lib.sh"
source "$(dirname "$0")/../window/keys_lib.sh"
source "$(dirname "$0")/wine_lib.sh"

# message_box: a window of the game's smaller than the game's own, which is the message box
message_box() {
    local w
    BOX=
    for w in $(xdotool search --onlyvisible --name '^Moonstruck$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        [ "$WIDTH" -ge 640 ] || BOX=$w
    done
    [ -n "$BOX" ]
}

rm "$GAME_DIR/media/banana.bmp"
start_wine
launch_game "$GAME_DIR"
wait_for "the message box" message_box
point_into "$BOX"
press Return
wait_exit
[ "$STATUS" -eq 1 ] || fail "the program ended with exit code $STATUS, not 1"
echo "PASS"
