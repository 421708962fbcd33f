# Under Wine, media that can't be loaded are told in a message box, which names the file or the
# missing media folder with its Windows path, every letter as it is (a folder with letters from
# beyond any one code page), with advice for Windows; once the box is answered the program ends
# with exit code 1 within its time bound. Argument: the dist folder.
source "$(dirname "$0")/../window/lib.sh"
source "$(dirname "$0")/wine_lib.sh"
export WINEDEBUG=-all,+msgbox # Wine's trace of the text each message box is given to show

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

# box_says TEXT: the game, started in the folder $1, shows one message box that begins with TEXT,
# written as Wine's trace writes it ("\\" for a backslash, "\00e9" for é), and ends with 1 once
# it is answered
box_says() {
    launch_game "$1"
    wait_for "the message box" message_box
    # Return until it is taken: the box may not have the focus yet
    wait_for "the box to be answered" eval 'point_into "$BOX"; press Return; ! running'
    wait_exit
    [ "$STATUS" -eq 1 ] || fail "the program ended with exit code $STATUS, not 1"
    local shown
    shown=$(sed -n 's/^.*trace:msgbox:MSGBOX_OnInit L"\(.*\)$/\1/p' "$WORK/err")
    [ "$(wc -l <<<"$shown")" -eq 1 ] && [[ $shown == "$2"* ]] ||
        fail "the message box said: $shown
instead of: $2"
}

# TEXT as Wine's trace writes it
traced() { python3 -c 'import sys; print("".join(c if 32 <= ord(c) < 127 and c not in "\\\"" else
    {"\\": "\\\\", "\"": "\\\"", "\n": "\\n"}.get(c, "\\%04x" % ord(c)) for c in sys.argv[1]), end="")' "$1"; }
windows_path() { timeout 60 winepath -w "$1" 2>/dev/null || fail "winepath could not name $1"; }

start_wine
# a picture missing from the zip's media, the game started in its own folder
rm "$GAME_DIR/media/banana.bmp"
box_says "$GAME_DIR" "$(traced "Couldn't load $(windows_path "$GAME_DIR/media")\\banana.bmp: no such file")"

# no media folder beside the program, in a folder of non-ASCII letters, the game started elsewhere
alone="$WORK/Ohne Medien é ß ł 月"
mkdir "$alone" "$WORK/elsewhere"
cp "$GAME_DIR/moonstruck.exe" "$alone/"
EXE=$alone/moonstruck.exe box_says "$WORK/elsewhere" "$(traced "Couldn't find the game's pictures and \
sounds: there is no folder $(windows_path "$alone")\\media.
Unpack the whole zip and keep the media folder beside moonstruck.exe.")"
echo "PASS"
