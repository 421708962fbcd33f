# The Windows zip holds a 64-bit GUI program linked statically: it imports only DLLs that come
# with Windows, so nothing else has to be shipped beside it; it carries its icon in every size
# from 16 to 256 pixels, its name, version and copyright, and a manifest that keeps it sharp on
# scaled displays; and it holds the time of the last commit, not of its build. Argument: the dist
# folder, in the clone that was packaged.
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

zip=$(ls "$1"/moonstruck-*-windows-x86_64.zip)
unzip -q "$zip" -d "$work"
top=$work/$(basename "$zip" .zip)
for file in moonstruck.exe LICENSE.txt README.txt media/title.bmp media/sound/fire.wav; do
    [ -f "$top/$file" ] || fail "the zip has no $file in its folder"
done
diff -r media "$top/media" || fail "the zip's media differ from media/"

headers=$(x86_64-w64-mingw32-objdump -p "$top/moonstruck.exe")
grep -q '^Magic.*PE32+' <<<"$headers" || fail "moonstruck.exe is not a 64-bit program"
grep -q '^Subsystem.*(Windows GUI)' <<<"$headers" || fail "moonstruck.exe is not a GUI program"
# the time in its header is the last commit's, as the packaging sets it, not the build's
committed=$(TZ=UTC date -d "@$(git -C "$1/.." log -1 --format=%ct)" '+%a %b %e %H:%M:%S %Y')
[ "$(TZ=UTC x86_64-w64-mingw32-objdump -p "$top/moonstruck.exe" | sed -n 's/^Time\/Date\s*//p')" = "$committed" ] ||
    fail "moonstruck.exe holds another time than the last commit's ($committed): $(grep '^Time/Date' <<<"$headers")"
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
x86_64-w64-mingw32-windres -i "$top/moonstruck.exe" -O rc -o "$work/resources.rc" ||
    fail "windres could not read the resources of moonstruck.exe"
resources=$(cat "$work/resources.rc")
# one icon group, whose entries' widths (0 standing for 256) are every size Windows asks for
sizes=$(awk '/RT_GROUP_ICON/,/^END/' "$work/resources.rc" | sed -n 's/^ *"\\\([0-7]*\)\\.*Element no.*/\1/p' |
    while read -r octal; do echo $((8#$octal == 0 ? 256 : 8#$octal)); done | sort -n | xargs)
[ "$(grep -c 'RT_GROUP_ICON' <<<"$resources")" -eq 1 ] || fail "moonstruck.exe has not one icon group"
[ "$sizes" = "16 20 24 32 40 48 64 128 256" ] || fail "the icon group's sizes are '$sizes'"
version=$(sed -n 's/^project(moonstruck VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
for value in '"ProductName", "Moonstruck"' '"OriginalFilename", "moonstruck.exe"' \
    "\"ProductVersion\", \"$version\"" "\"FileVersion\", \"$version\"" '"LegalCopyright", "Copyright' \
    '"FileDescription", "Moonstruck"'; do
    grep -qF "VALUE $value" <<<"$resources" || fail "the version information has no $value"
done
manifest=$(awk '/RT_MANIFEST/,/^END/' "$work/resources.rc" | sed 's/""/"/g')
for setting in '<dpiAwareness[^>]*>PerMonitorV2, PerMonitor</dpiAwareness>' \
    '<dpiAware[^>]*>true/pm</dpiAware>' '<activeCodePage[^>]*>UTF-8</activeCodePage>' \
    '<supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"/>'; do
    grep -q "$setting" <<<"$manifest" || fail "the manifest has no $setting"
done
echo "icon sizes: $sizes"
echo "PASS"
