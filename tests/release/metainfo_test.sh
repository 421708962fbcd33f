# The AppStream metainfo validates without a remark, pedantic ones included. Argument: the file.
set -euo pipefail
report=$(appstreamcli validate --no-net --pedantic --no-color "$1" 2>&1) ||
    { echo "$report" && echo "FAIL: the metainfo does not validate" >&2 && exit 1; }
echo "$report"
! grep -q '^[EWIP]: ' <<<"$report" || { echo "FAIL: the validator has remarks" >&2 && exit 1; }
echo "PASS"
