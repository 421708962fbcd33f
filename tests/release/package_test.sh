# ./package run in a clean clone of the repository makes the Debian package and the Windows zip,
# building the Windows library from nothing, with no compiler warning; run again in a second
# clone at another path, it makes the same packages byte for byte. The packages are left in
# OUT/clone/dist for the tests after this one. Arguments: the repository, OUT.
source "$(dirname "$0")/../window/lib.sh"
source=$1
out=$2

rm -rf "$out"
mkdir -p "$out"
# package REPOSITORY CLONE LOG: ./package in a fresh clone of the repository
package() {
    git clone -q "$1" "$2" || fail "could not clone $1"
    shift
    local start=$SECONDS
    (cd "$1" && ./package) >"$2" 2>&1 || { tail -40 "$2" >&2 && fail "./package failed (log: $2)"; }
    echo "./package in $1 took $((SECONDS - start)) s"
    for library in Windows "the browser"; do
        grep -q "Allegro for $library: built in" "$2" || fail "the clean clone did not build Allegro for $library"
    done
    ! grep -n 'warning:' "$2" || fail "the build gave warnings"
}
package "$source" "$out/clone" "$out/package.log"
package "$out/clone" "$out/second/place/of/the/clone" "$out/second/package.log" # the same commit
# every file of dist/, the unpacked web folder's among them
diff -r "$out/clone/dist" "$out/second/place/of/the/clone/dist" ||
    fail "the packages differ between the two clones"
echo "the packages of the two clones are the same byte for byte"

version=$(sed -n 's/^project(moonstruck VERSION \([0-9.]*\).*/\1/p' "$out/clone/CMakeLists.txt")
made=$(cd "$out/clone/dist" && ls)
want=$(printf '%s\n' "moonstruck-$version-windows-x86_64.zip" "moonstruck-$version-web.zip" web \
    "moonstruck_${version}_$(dpkg --print-architecture).deb" | sort)
[ "$made" = "$want" ] || fail "dist/ holds $(echo $made), not $(echo $want)"
echo "PASS"
