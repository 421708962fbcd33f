# ./package run in a clean clone of the repository makes the Debian package and the Windows zip,
# building the Windows library from nothing, with no compiler warning. The packages are left in
# OUT/clone/dist for the tests after this one. Arguments: the repository, OUT.
set -euo pipefail
source=$1
out=$2
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$out"
mkdir -p "$out"
git clone -q "$source" "$out/clone" || fail "could not clone $source"
start=$SECONDS
(cd "$out/clone" && ./package) >"$out/package.log" 2>&1 ||
    { tail -40 "$out/package.log" >&2 && fail "./package failed (log: $out/package.log)"; }
echo "./package took $((SECONDS - start)) s"
grep -q 'Allegro for Windows: built in' "$out/package.log" ||
    fail "the clean clone did not build the Windows library from nothing"
grep -q 'Allegro for the browser: built in' "$out/package.log" ||
    fail "the clean clone did not build the browser's library from nothing"
! grep -n 'warning:' "$out/package.log" || fail "the build gave warnings"

version=$(sed -n 's/^project(moonstruck VERSION \([0-9.]*\).*/\1/p' "$out/clone/CMakeLists.txt")
made=$(cd "$out/clone/dist" && ls)
want=$(printf '%s\n' "moonstruck-$version-windows-x86_64.zip" "moonstruck-$version-web.zip" web \
    "moonstruck_${version}_$(dpkg --print-architecture).deb" | sort)
[ "$made" = "$want" ] || fail "dist/ holds $(echo $made), not $(echo $want)"
echo "PASS"
