# The Windows zip holds a 64-bit GUI program linked statically: it imports only DLLs that come
# with Windows, so nothing else has to be shipped beside it. Argument: the dist folder.
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
# Windows' own DLLs, of which the library and the C and C++ runtimes use some
system_dlls=" advapi32 comdlg32 ddraw dinput dinput8 dsound gdi32 kernel32 msvcrt ole32 oleaut32
    shell32 user32 winmm "
imports=$(sed -n 's/^\s*DLL Name: \(.*\)\.dll$/\1/Ip' <<<"$headers" | tr 'A-Z' 'a-z')
[ -n "$imports" ] || fail "no imported DLL found in moonstruck.exe"
for dll in $imports; do
    [[ $system_dlls == *" $dll "* ]] || fail "moonstruck.exe imports $dll.dll, which is not Windows' own"
done
echo "imports:" $imports
echo "PASS"
