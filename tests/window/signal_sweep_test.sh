# SIGTERM and SIGINT sent at every millisecond of the game's first 30 ms, when the library and the
# window are half started, end it by that very signal or with exit code 0: never by another signal
# (a crash, a core dump), never with an error, never a hang.
source "$(dirname "$0")/lib.sh"

start_x
python3 - "$GAME" "${ROUNDS:-1}" <<'EOF' || fail "a signal in the start-up did not end the game by itself"
import signal, subprocess, sys, time
game, rounds, bad, seen = sys.argv[1], int(sys.argv[2]), 0, {}
for sent in (signal.SIGTERM, signal.SIGINT):
    for ms in list(range(30)) * rounds:
        run = subprocess.Popen([game], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        time.sleep(ms / 1000)
        run.send_signal(sent)
        try:
            status = run.wait(timeout=5)
        except subprocess.TimeoutExpired:
            run.kill()
            status = "a hang"
        said = run.stderr.read().decode(errors="replace").strip()
        seen[status] = seen.get(status, 0) + 1
        if status not in (0, -sent):
            bad += 1
            why = status if status == "a hang" else f"signal {-status}" if status < 0 else f"exit code {status}"
            print(f"{sent.name} at {ms} ms ended the game by {why}: {said[-200:]}", file=sys.stderr)
print("runs by exit status:", ", ".join(f"{k}: {v}" for k, v in sorted(seen.items(), key=str)))
sys.exit(bad > 0)
EOF
echo "PASS"
