# The unit tests pass under Wine against the Windows build of the library: cross-built with the
# library that ./package made and GoogleTest built from Debian's source, and run by CTest with its
# time bound, so that a hang fails. Argument: the clone ./package ran in.
source "$(dirname "$0")/../window/lib.sh"
clone=$GAME
trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT

cd "$clone"
tools/windows/build_gtest.sh build-windows/gtest || fail "GoogleTest for Windows did not build"
build=build-windows/tests
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DMOONSTRUCK_TESTS=ON \
    -DCMAKE_PREFIX_PATH="$clone/build-windows/allegro;$clone/build-windows/gtest" >"$WORK/log" 2>&1 &&
    cmake --build "$build" -j "$(nproc)" >>"$WORK/log" 2>&1 ||
    { tail -40 "$WORK/log" >&2 && fail "the unit tests did not build for Windows"; }
! grep -n 'warning:' "$WORK/log" || fail "the Windows build of the unit tests gave warnings"

# a Wine of the test's own, made before the timed run
export WINEPREFIX=$WORK/wineprefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
timeout 120 wineboot -i >"$WORK/wineboot" 2>&1 || fail "Wine could not make its prefix"
(cd "$build" && ctest -V) >"$WORK/ctest" 2>&1 ||
    { cat "$WORK/ctest" >&2 && fail "the unit tests failed or hung under Wine"; }
cat "$WORK/ctest"
ran=$(sed -n 's/^.*\[  PASSED  \] \([0-9]*\) tests\?\..*$/\1/p' "$WORK/ctest")
listed=$(grep -c '^  ' < <(timeout 60 wine "$build/tests/unit_tests.exe" --gtest_list_tests 2>/dev/null))
[ -n "$ran" ] && [ "$ran" -eq "$listed" ] || fail "$ran of the $listed unit tests passed"
echo "PASS"
