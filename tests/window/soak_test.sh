# The soak run for one minute: game after game by the scripted player (one- and two-player), the
# game's memory read at 15 s and at the end must not grow by more than 1 MiB, and it must still be
# running at the end and quit with exit code 0. The full run is tests/reliability/soak.sh (30 min).
exec bash "$(dirname "$0")/../reliability/soak.sh" 1 "$1"
