# Installed under a prefix: the game, its media, desktop entry, icons and manual page land where
# Linux games go, and the launcher starts the game from any working directory.
source "$(dirname "$0")/lib.sh"

# a prefix with the characters a shell or a launcher could trip on
prefix="$(realpath "$WORK")/-prefix \$HOME \"quoted\" 'single' \`date\` \$(date) *"
cmake --install "$(dirname "$GAME")" --prefix "$prefix" >"$WORK/out" || fail "the install failed"
for file in bin/moonstruck libexec/moonstruck/moonstruck share/man/man6/moonstruck.6 \
    share/applications/org.moonstruck.moonstruck.desktop \
    share/metainfo/org.moonstruck.moonstruck.metainfo.xml; do
    [ -f "$prefix/$file" ] || fail "$file was not installed"
done
diff -r media "$prefix/share/moonstruck/media" || fail "the installed media differ from media/"
for size in 32 48 64 128; do
    icon=$prefix/share/icons/hicolor/${size}x$size/apps/moonstruck.png
    [ -f "$icon" ] && [ "$("$CONVERT" "$icon" -format %wx%h info:)" = "${size}x$size" ] ||
        fail "no ${size}x$size icon in the hicolor theme"
done

desktop=$prefix/share/applications/org.moonstruck.moonstruck.desktop
grep -qx 'Exec=moonstruck' "$desktop" && grep -qx 'Categories=Game;ArcadeGame;' "$desktop" ||
    fail "the desktop entry does not run moonstruck as an arcade game"
report=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$report" ] || fail "desktop-file-validate: $report"

# the manual page: formatted without a warning, with every section a reader looks for
page=$prefix/share/man/man6/moonstruck.6
warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1) && [ -z "$warnings" ] || fail "groff: $warnings"
text=$(groff -man -Tutf8 -P-cbou "$page" 2>/dev/null)
for section in NAME SYNOPSIS DESCRIPTION FILES "EXIT STATUS" COPYRIGHT; do
    grep -q "^$section" <<<"$text" || fail "the man page has no $section section"
done
grep -q "/usr/share/moonstruck/media/" <<<"$text" || fail "the man page does not name the media's folder"

# the launcher runs the installed program in the installed data directory, wherever it starts
# and wherever the installed tree is moved: here below a backslash and a leading dash, which
# CMake itself can't install to, and through a symbolic link
moved="$(realpath "$WORK")/-moved \\ back\\slash"
mkdir "$moved" && mv "$prefix" "$moved/" && prefix=$moved/$(basename "$prefix")
ln -s "$prefix/bin/moonstruck" "$WORK/link"
start_x
for launcher in "$prefix/bin/moonstruck" "$WORK/link"; do
    launcher_runs "$launcher" "$prefix/libexec/moonstruck/moonstruck" "$prefix/share/moonstruck"
done
echo "PASS"
