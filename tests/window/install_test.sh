# Installed under a prefix: the game, its media, desktop entry, icons and manual page land where
# Linux games go, and the launcher starts the game from any working directory.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/keys_lib.sh"

prefix=$(realpath "$WORK")/prefix
cmake --install "$(dirname "$GAME")" --prefix "$prefix" >"$WORK/out" || fail "the install failed"
for file in bin/moonstruck libexec/moonstruck/moonstruck share/applications/moonstruck.desktop \
    share/man/man6/moonstruck.6; do
    [ -f "$prefix/$file" ] || fail "$file was not installed"
done
diff -r media "$prefix/share/moonstruck/media" || fail "the installed media differ from media/"
for size in 32 48 64 128; do
    icon=$prefix/share/icons/hicolor/${size}x$size/apps/moonstruck.png
    [ -f "$icon" ] && [ "$("$CONVERT" "$icon" -format %wx%h info:)" = "${size}x$size" ] ||
        fail "no ${size}x$size icon in the hicolor theme"
done

desktop=$prefix/share/applications/moonstruck.desktop
grep -qx 'Exec=moonstruck' "$desktop" && grep -qx 'Categories=Game;ArcadeGame;' "$desktop" ||
    fail "the desktop entry does not run moonstruck as an arcade game"
if command -v desktop-file-validate >/dev/null; then
    report=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$report" ] || fail "entry: $report"
else
    echo "no desktop-file-validate (package desktop-file-utils): the entry was not validated"
fi

# the manual page: formatted without a warning, with every section a reader looks for
page=$prefix/share/man/man6/moonstruck.6
warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1) && [ -z "$warnings" ] || fail "groff: $warnings"
text=$(groff -man -Tutf8 -P-cbou "$page" 2>/dev/null)
for section in NAME SYNOPSIS DESCRIPTION FILES "EXIT STATUS"; do
    grep -q "^$section" <<<"$text" || fail "the man page has no $section section"
done

# the launcher runs the installed program in the installed data directory, wherever it starts
start_x
GAME=$prefix/bin/moonstruck launch_game /
wait_for "the game's window" find_window
[ "$(readlink "/proc/$GAME_PID/exe")" = "$prefix/libexec/moonstruck/moonstruck" ] &&
    [ "$(readlink "/proc/$GAME_PID/cwd")" = "$prefix/share/moonstruck" ] ||
    fail "the launcher ran $(readlink "/proc/$GAME_PID/exe") in $(readlink "/proc/$GAME_PID/cwd")"
xdotool mousemove 100 100
wait_for "the title screen" title_shown
quit
echo "PASS"
