# The Debian package: lintian finds no error and no warning in it (the one warning a first upload
# can't avoid, initial-upload-closes-no-bugs, needs a bug number); unpacked into a throwaway root,
# it keeps the game where Debian keeps games, and its launcher starts it to the title screen, from
# which Esc quits with exit code 0. Argument: the dist folder.
source "$(dirname "$0")/../window/lib.sh"

deb=$(ls "$GAME"/moonstruck_*.deb)
root=$(realpath "$WORK")/root
report=$(lintian --fail-on none "$deb" 2>&1) || fail "lintian did not run: $report"
report=$(grep -v -e 'running with root privileges' -e ' initial-upload-closes-no-bugs' <<<"$report" || true)
echo "lintian: ${report:-(nothing)}"
! grep -q '^[EW]:' <<<"$report" || fail "lintian reports errors or warnings"
dpkg-deb -x "$deb" "$root" || fail "could not unpack $deb"
for file in usr/games/moonstruck usr/libexec/moonstruck/moonstruck usr/share/man/man6/moonstruck.6.gz \
    usr/share/doc/moonstruck/copyright usr/share/doc/moonstruck/changelog.gz \
    usr/share/applications/org.moonstruck.moonstruck.desktop \
    usr/share/metainfo/org.moonstruck.moonstruck.metainfo.xml \
    usr/share/icons/hicolor/48x48/apps/moonstruck.png; do
    [ -f "$root/$file" ] || fail "the package has no /$file"
done
diff -r media "$root/usr/share/games/moonstruck/media" || fail "the packaged media differ from media/"
dpkg-deb -f "$deb" Depends | grep -q 'liballegro4\.4' || fail "the package does not depend on the library"
zcat "$root/usr/share/man/man6/moonstruck.6.gz" | grep -q '/usr/share/games/moonstruck/media/' ||
    fail "the manual page does not name the packaged media's folder"

# the program is stripped: the debugging data and the symbol table are gone
sections=$(readelf -S --wide "$root/usr/libexec/moonstruck/moonstruck")
! grep -qE '\.debug_info|\.symtab' <<<"$sections" || fail "the packaged program is not stripped"

start_x
launcher_runs "$root/usr/games/moonstruck" "$root/usr/libexec/moonstruck/moonstruck" \
    "$root/usr/share/games/moonstruck"
echo "PASS"
