#!/usr/bin/env bash
# present_ways.sh: bench/present_ways at scales 2 and 4 in a 3840x2160 Xvfb of its own.
#   bench/present_ways.sh [build folder, default build-bench]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
export DISPLAY=:$((90 + RANDOM % 100))
Xvfb "$DISPLAY" -screen 0 3840x2160x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
for scale in 2 4; do "$build/bench/present_ways" $scale 2>/dev/null; done
