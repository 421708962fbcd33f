# lintian finds no error and no warning in the Debian package; the one warning a first upload
# can't avoid, initial-upload-closes-no-bugs, needs a bug number. Argument: the dist folder.
set -euo pipefail
deb=$(ls "$1"/moonstruck_*.deb)
report=$(lintian --fail-on none "$deb" 2>&1) || { echo "$report" && echo "FAIL: lintian did not run" >&2 && exit 1; }
report=$(grep -v -e 'running with root privileges' -e ' initial-upload-closes-no-bugs' <<<"$report" || true)
echo "lintian: ${report:-(nothing)}"
! grep -q '^[EW]:' <<<"$report" || { echo "FAIL: lintian reports errors or warnings" >&2 && exit 1; }
echo "PASS"
