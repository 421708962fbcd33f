# The unit tests pass under Wine against the Windows build of the library: cross-built with the
# library that ./package made and GoogleTest built from Debian's source, and run by CTest with its
# time bound, so that a hang fails. Argument: the clone ./package ran in.
set -euo pipefail
clone=$(realpath "$1")
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cd "$clone"
tools/windows/build_gtest.sh build-windows/gtest || fail "GoogleTest for Windows did not build"
build=build-windows/tests
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DMOONSTRUCK_TESTS=ON \
    -DCMAKE_PREFIX_PATH="$clone/build-windows/allegro;$clone/build-windows/gtest" >"$work/log" 2>&1 &&
    cmake --build "$build" -j "$(nproc)" >>"$work/log" 2>&1 ||
    { tail -40 "$work/log" >&2 && fail "the unit tests did not build for Windows"; }
! grep -n 'warning:' "$work/log" || fail "the Windows build of the unit tests gave warnings"

# a Wine of the test's own, made before the timed run
export WINEPREFIX=$work/wineprefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
timeout 120 wineboot -i >"$work/wineboot" 2>&1 || fail "Wine could not make its prefix"
(cd "$build" && ctest -V) >"$work/ctest" 2>&1 ||
    { cat "$work/ctest" >&2 && fail "the unit tests failed or hung under Wine"; }
cat "$work/ctest"
ran=$(sed -n 's/^.*\[  PASSED  \] \([0-9]*\) tests\?\..*$/\1/p' "$work/ctest")
listed=$(grep -c '^  ' < <(timeout 60 wine "$build/tests/unit_tests.exe" --gtest_list_tests 2>/dev/null))
[ -n "$ran" ] && [ "$ran" -eq "$listed" ] || fail "$ran of the $listed unit tests passed"
echo "PASS"
