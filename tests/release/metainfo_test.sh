# The AppStream metainfo validates without a remark, pedantic ones included. Argument: the file.
source "$(dirname "$0")/../window/lib.sh"
report=$(appstreamcli validate --no-net --pedantic --no-color "$GAME" 2>&1) ||
    fail "the metainfo does not validate: $report"
echo "$report"
! grep -q '^[EWIP]: ' <<<"$report" || fail "the validator has remarks"
echo "PASS"
