# The Windows zip holds a 64-bit GUI program linked statically: it imports only DLLs that come
# with Windows, so nothing else has to be shipped beside it; it carries its icon in every size
# from 16 to 256 pixels, its name, version and copyright, and a manifest that keeps it sharp on
# scaled displays; and it holds the time of the last commit, not of its build.
# The program runs under Wine: its window carries its icon, it draws the title screen, Enter
# starts a game, Esc leaves it and Esc quits with exit code 0, twice over: started in its own
# folder, then moved into a folder of non-ASCII letters and started in another folder, as a
# shortcut may start it, where it still finds the media beside it. Media that can't be loaded are
# told in a message box, which names the file or the missing media folder with its Windows path,
# every letter as it is (a folder with letters from beyond any one code page), with advice for
# Windows; once the box is answered the program ends with exit code 1. Each run is bounded by a
# timeout, and a hang at start-up or at exit fails the test. Argument: the dist folder, in the
# clone that was packaged.
source "$(dirname "$0")/../window/lib.sh"
DIST=$GAME

RUN_LIMIT=60 # seconds a run of the program may take, a game included

# a fresh prefix, no Mono or Gecko to offer, Wine's trace of the text each message box is given to
# show and nothing else, and sound through ALSA's null device, so that the library's DirectSound
# driver starts and plays into nothing
export WINEPREFIX=$WORK/wineprefix WINEARCH=win64 WINEDEBUG=-all,+msgbox WINEDLLOVERRIDES='mscoree,mshtml='
export ALSA_CONFIG_PATH=$WORK/asound.conf XDG_CACHE_HOME=$WORK/cache
echo 'pcm.!default { type null }' >"$ALSA_CONFIG_PATH"
trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT

zip=$(ls "$DIST"/moonstruck-*-windows-x86_64.zip)
unzip -q "$zip" -d "$WORK"
GAME_DIR=$WORK/$(basename "$zip" .zip)
export EXE=$GAME_DIR/moonstruck.exe
printf '#!/bin/sh\nexec timeout -k 5 %s wine "$EXE"\n' "$RUN_LIMIT" >"$WORK/run"
chmod +x "$WORK/run"
GAME=$WORK/run

# the library refuses a window whose frame does not fit the screen, so the screen (see start_x
# below) is larger than the game's, and the screenshots are of the game's window alone
shoot() { import -window "$WIN" "$WORK/shot.png"; }

# point_into WINDOW: the pointer into the window and the focus on it, where DirectInput wants it
point_into() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove $((X + 20)) $((Y + 20))
    xdotool windowfocus "$1" 2>/dev/null || true
}

# the window carries the ship as its icon, which the taskbar and Alt+Tab show: its 32-pixel icon
# is the ship scaled as tools/make_icons.sh scales it, pixel for pixel
window_has_the_ship() {
    "$CONVERT" media/ship.bmp -transparent '#ff00ff' -sample 32x32 -depth 8 "RGBA:$WORK/ship.rgba"
    xprop -id "$WIN" -f _NET_WM_ICON 32c '=$0+\n' _NET_WM_ICON | python3 -c '
import sys
values = [int(v) for v in sys.stdin.read().split("=", 1)[1].split(",")]
ship = open(sys.argv[1], "rb").read()
argb = [ship[i + 3] << 24 | ship[i] << 16 | ship[i + 1] << 8 | ship[i + 2] for i in range(0, len(ship), 4)]
sys.exit(values[:2] != [32, 32] or values[2:2 + 32 * 32] != argb)' "$WORK/ship.rgba"
}

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
    ends_with 1 "the answered message box"
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

# plays FOLDER: the game started in the folder has the ship as its window's icon and shows its title
# screen; Enter starts a game, Esc leaves it and Esc quits with 0
plays() {
    launch_game "$1"
    wait_for "the game's window, started in $1" find_window
    wait_for "the ship as the window's icon" window_has_the_ship
    point_into "$WIN"
    wait_for "the title screen, the game started in $1" title_shown
    play
    quit
}

# the zip and its program, read as files
for file in moonstruck.exe LICENSE.txt README.txt media/title.bmp media/sound/fire.wav; do
    [ -f "$GAME_DIR/$file" ] || fail "the zip has no $file in its folder"
done
diff -r media "$GAME_DIR/media" || fail "the zip's media differ from media/"

headers=$(TZ=UTC x86_64-w64-mingw32-objdump -p "$GAME_DIR/moonstruck.exe")
grep -q '^Magic.*PE32+' <<<"$headers" || fail "moonstruck.exe is not a 64-bit program"
grep -q '^Subsystem.*(Windows GUI)' <<<"$headers" || fail "moonstruck.exe is not a GUI program"
# the time in its header is the last commit's, as the packaging sets it, not the build's
committed=$(TZ=UTC date -d "@$(git -C "$DIST/.." log -1 --format=%ct)" '+%a %b %e %H:%M:%S %Y')
stamp=$(sed -n 's/^Time\/Date\s*//p' <<<"$headers")
[ "$stamp" = "$committed" ] || fail "moonstruck.exe holds the time $stamp, not the last commit's, $committed"
# Windows' own DLLs, of which the library and the C and C++ runtimes use some
system_dlls=" advapi32 comdlg32 ddraw dinput dinput8 dsound gdi32 kernel32 msvcrt ole32 oleaut32
    shell32 user32 winmm "
imports=$(sed -n 's/^\s*DLL Name: \(.*\)\.dll$/\1/Ip' <<<"$headers" | tr 'A-Z' 'a-z')
[ -n "$imports" ] || fail "no imported DLL found in moonstruck.exe"
for dll in $imports; do
    [[ $system_dlls == *" $dll "* ]] || fail "moonstruck.exe imports $dll.dll, which is not Windows' own"
done
echo "imports:" $imports

# the resources, read back as a resource script
x86_64-w64-mingw32-windres -i "$GAME_DIR/moonstruck.exe" -O rc -o "$WORK/resources.rc" ||
    fail "windres could not read the resources of moonstruck.exe"
resources=$(cat "$WORK/resources.rc")
# one icon group, whose entries' widths (0 standing for 256) are every size Windows asks for
sizes=$(awk '/RT_GROUP_ICON/,/^END/' "$WORK/resources.rc" | sed -n 's/^ *"\\\([0-7]*\)\\.*Element no.*/\1/p' |
    while read -r octal; do echo $((8#$octal == 0 ? 256 : 8#$octal)); done | sort -n | xargs)
[ "$(grep -c 'RT_GROUP_ICON' <<<"$resources")" -eq 1 ] || fail "moonstruck.exe has not one icon group"
[ "$sizes" = "16 20 24 32 40 48 64 128 256" ] || fail "the icon group's sizes are '$sizes'"
version=$(sed -n 's/^project(moonstruck VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
for value in '"ProductName", "Moonstruck"' '"OriginalFilename", "moonstruck.exe"' \
    "\"ProductVersion\", \"$version\"" "\"FileVersion\", \"$version\"" '"LegalCopyright", "Copyright' \
    '"FileDescription", "Moonstruck"'; do
    grep -qF "VALUE $value" <<<"$resources" || fail "the version information has no $value"
done
manifest=$(awk '/RT_MANIFEST/,/^END/' "$WORK/resources.rc" | sed 's/""/"/g')
for setting in '<dpiAwareness[^>]*>PerMonitorV2, PerMonitor</dpiAwareness>' \
    '<dpiAware[^>]*>true/pm</dpiAware>' '<activeCodePage[^>]*>UTF-8</activeCodePage>' \
    '<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>'; do
    grep -q "$setting" <<<"$manifest" || fail "the manifest has no $setting"
done
echo "icon sizes: $sizes"

start_x 1024x768
# the Wine prefix, made before any timed run
timeout 120 wineboot -i >"$WORK/wineboot" 2>&1 || fail "Wine could not make its prefix"
# a picture missing from the zip's media, the game started in its own folder
mv "$GAME_DIR/media/banana.bmp" "$WORK/"
box_says "$GAME_DIR" "$(traced "Couldn't load $(windows_path "$GAME_DIR/media")\\banana.bmp: no such file")"
mv "$WORK/banana.bmp" "$GAME_DIR/media/"

# no media folder beside the program, in a folder of non-ASCII letters, the game started elsewhere
alone="$WORK/Ohne Medien é ß ł 月"
mkdir "$alone" "$WORK/elsewhere"
cp "$GAME_DIR/moonstruck.exe" "$alone/"
EXE=$alone/moonstruck.exe box_says "$WORK/elsewhere" "$(traced "Couldn't find the game's pictures and \
sounds: there is no folder $(windows_path "$alone")\\media.
Unpack the whole zip and keep the media folder beside moonstruck.exe.")"

plays "$GAME_DIR"
# moved into a folder of non-ASCII letters and started in another folder, as a shortcut may start it
moved="$WORK/Spiele é ß ł 月"
mkdir "$moved" && mv "$GAME_DIR" "$moved/"
EXE=$moved/$(basename "$GAME_DIR")/moonstruck.exe plays "$WORK/elsewhere"
echo "PASS"
