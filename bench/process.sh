#!/usr/bin/env bash
# process.sh: the whole game in a window under Xvfb for a minute of scripted play, then the
# least a windowed 640x480 16-bit game at 50 frames a second does (bench/minimal.cpp) for the
# same minute and the same input: CPU time, peak memory, the time from start to the first
# frame on the screen, and, for the game, the ticks it ran against the ticks the clock made due.
# The two take turns for several rounds (ROUNDS, default 3), so that a busy spell of the
# machine falls on both; the figures are the sums, the highest peak and the median start.
# SCALE=2 or 4 gives the game a screen on which its window opens at that scale (1920x1080,
# 3840x2160), and the minimal program a window and a frame of the same size.
#   [ROUNDS=n] [SCALE=1|2|4] bench/process.sh [build folder, default build-bench]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
game=$build/moonstruck
play_s=60
starts=5
rounds=${ROUNDS:-3}
hz=$(getconf CLK_TCK)
scale=${SCALE:-1}
case $scale in
1) screen_w=640 screen_h=480 ;;
2) screen_w=1920 screen_h=1080 ;;
4) screen_w=3840 screen_h=2160 ;;
*) echo "SCALE is 1, 2 or 4" >&2 && exit 1 ;;
esac
pixels=$((screen_w * screen_h * 4)) # the screen's picture, 32 bits a pixel, at the end of its file
row=$((screen_w * 4))
# crosses the middle of the title picture, and any frame of the minimal program
probe_row=$((140 * scale))
fb=$(mktemp -d)

[ -f media/title.bmp ] || { echo "media/ is incomplete: the game cannot start" >&2; exit 1; }
# a black root whose picture is kept in a file, to be read without asking the server
export DISPLAY=:$((90 + RANDOM % 100))
Xvfb "$DISPLAY" -screen 0 "${screen_w}x${screen_h}x24" -br -nolisten tcp -fbdir "$fb" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$fb"' EXIT
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

now_ms() { echo $(($(date +%s%N) / 1000000)); }
cpu_ms() { awk -v hz="$hz" '{ print ($14 + $15) * 1000 / hz }' "/proc/$1/stat"; }
peak_kib() { awk '/^VmHWM/ { print $2 }' "/proc/$1/status"; }
# one row of the screen is still black; reading a row rather than the whole picture keeps
# the check quick and light beside the program that is starting
black() { cmp -s -i $(($(stat -c %s "$fb/Xvfb_screen0") - pixels + probe_row * row)):0 \
    -n $row "$fb/Xvfb_screen0" /dev/zero; }
press() { xdotool keydown "$1" sleep 0.1 keyup "$1"; } # long enough for a 20 ms tick to see
# Esc until it quits: from a game, Esc leads to the title and Esc there quits, and a game
# that has just ended takes 3 s before its game-over screen answers
stop() {
    for _ in $(seq 30); do
        kill -0 $pid 2>/dev/null || break
        press Escape
        sleep 0.3
    done
    kill -9 $pid 2>/dev/null && echo "$1 did not quit" >&2
    wait $pid 2>/dev/null || true
}

# starts a program and waits for its first frame; sets pid and startup_ms
launch() {
    local t0
    t0=$(date +%s%N)
    "$@" >/dev/null 2>&1 &
    pid=$!
    while black; do
        kill -0 $pid 2>/dev/null || { echo "$1 exited before its first frame" >&2; exit 1; }
        [ $(($(date +%s%N) - t0)) -lt 10000000000 ] ||
            { echo "$1 showed no frame in 10 s" >&2; kill -9 $pid; exit 1; }
    done
    startup_ms=$((($(date +%s%N) - t0) / 1000000))
}
# several starts, each after the server has closed the last one's window
declare -A starts_ms
startup() {
    local name=$1
    shift
    for _ in $(seq $starts); do
        sleep 0.5
        launch "$@"
        starts_ms[$name]+="$startup_ms "
        kill -9 $pid
        wait $pid 2>/dev/null || true
    done
}
median() { tr ' ' '\n' | grep . | sort -n | awk '{ v[NR] = $1 } END { print v[int(NR / 2) + 1] }'; }

# The game's statics, read through /proc: where the executable is mapped plus each one's
# offset. game_ticks gives the ticks of the game in play by its level clock ("new" while none
# is in play) and the ticks due that the loop has not run yet.
declare -A offset
while read -r address _ symbol; do offset[$symbol]=$((16#$address)); done < <(nm --defined-only "$game")
peek() {
    dd if="/proc/$pid/mem" bs=1 skip=$((base + offset[$1])) count=4 iflag=skip_bytes \
        2>/dev/null | od -An -td4 | tr -d ' '
}
game_ticks() {
    if [ $(($(peek _ZZ5logicvE5first) & 0xff)) -ne 0 ]; then echo new 0; return; fi
    echo $((($(peek level) - 1) * 3600 + $(peek _ZZ5logicvE4time))) "$(peek counter)"
}

# A minute of play, the same for both: Enter (a one-player game from the title, the title
# again after a game over), then fire held while the ship sweeps about, Enter after each sweep.
# For the game, a look after each sweep; the ticks between two looks that find the same game
# in play are added up (so the looks in between cancel out, and only the first and the last
# one's timing counts).
look() {
    read -r l_ticks l_waiting < <($1)
    l_ms=$(now_ms)
}
play_minute() {
    local t_start=$1 counting=$2 ticks0 waiting0 ms0 k
    ran=0 waiting=0 counted_ms=0 skipped=0
    xdotool mousemove 320 240
    press Return
    xdotool sleep 0.2 keydown space
    look "$counting"
    while [ $(($(now_ms) - t_start)) -lt $(((play_s - 10) * 1000)) ]; do # a sweep takes 5 s
        ticks0=$l_ticks waiting0=$l_waiting ms0=$l_ms
        for k in Left Right Up Left Down Right; do xdotool keydown "$k" sleep 0.8 keyup "$k"; done
        press Return
        look "$counting"
        if [ "$ticks0" = new ] || [ "$l_ticks" = new ] || [ "$l_ticks" -lt "$ticks0" ]; then
            skipped=$((skipped + 1))
        else
            ran=$((ran + l_ticks - ticks0)) waiting=$((waiting + l_waiting - waiting0))
            counted_ms=$((counted_ms + l_ms - ms0))
        fi
    done
    xdotool keyup space
}

declare -A cpu rss
# runs one program for the minute and reads its counts before it is told to quit; adds its
# CPU time to the sum and keeps its highest peak
measure() {
    local name=$1 counting=$2 t_start
    shift 2
    startup "$name" "$@"
    t_start=$(now_ms)
    launch "$@"
    base=$((16#$(awk -v exe="$(readlink -f "$1")" '$6 == exe { print $1; exit }' \
        "/proc/$pid/maps" | cut -d- -f1)))
    play_minute "$t_start" "$counting"
    while [ $(($(now_ms) - t_start)) -lt $((play_s * 1000)) ]; do sleep 0.05; done
    # scaled to the minute exactly, in case the system held the script up
    local c
    c=$(awk -v c="$(cpu_ms $pid)" -v t=$(($(now_ms) - t_start)) -v s=$play_s \
        'BEGIN { printf "%.0f", c * s * 1000 / t }')
    cpu[$name]=$((${cpu[$name]:-0} + c))
    rss[$name]=$(($(peak_kib $pid) > ${rss[$name]:-0} ? $(peak_kib $pid) : ${rss[$name]:-0}))
    echo "round $round, $name: CPU $c ms, peak RSS $(peak_kib $pid) KiB, starts ${starts_ms[$name]}"
    stop "$name"
}

for round in $(seq $rounds); do
    measure game game_ticks "$game"
    echo "game: ran $ran ticks, with $waiting more due and waiting, while the clock made" \
        "$((counted_ms * 50 / 1000)) due in the $counted_ms ms counted" \
        "($skipped stretches with no game in play left out)"
    measure minimal "echo 0 0" "$build/bench/minimal" "$scale"
done

declare -A up
printf '\nat scale %d\n%-10s %16s %14s %18s\n' "$scale" "" "CPU ms/${play_s}s, sum" "peak RSS KiB" "start-up ms (med.)"
for p in game minimal; do
    up[$p]=$(echo "${starts_ms[$p]}" | median)
    printf '%-10s %16s %14s %18s\n' $p "${cpu[$p]}" "${rss[$p]}" "${up[$p]}"
done
awk -v g="${cpu[game]}" -v m="${cpu[minimal]}" -v gr="${rss[game]}" -v mr="${rss[minimal]}" \
    -v su="${up[game]}" -v n=$rounds 'BEGIN {
    printf "CPU ratio over %d rounds %.2f (target 1.25: %s)\n", n, g / m,
        g / m <= 1.25 ? "met" : "MISSED"
    printf "peak RSS over minimal %.1f MiB (target 8: %s)\n", (gr - mr) / 1024,
        (gr - mr) / 1024 <= 8 ? "met" : "MISSED"
    printf "start-up %d ms (target 150: %s)\n", su, su <= 150 ? "met" : "MISSED"
}'
