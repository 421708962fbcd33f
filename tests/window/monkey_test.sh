# The monkey run for one minute: random keys and mouse input on the title, game and game-over screens;
# the game never crashes (a quit with exit code 0 by Esc or Enter is started again) and at the end Esc
# back to the title screen and Esc there quit it with 0. The full run is tests/reliability/monkey.sh.
exec bash "$(dirname "$0")/../reliability/monkey.sh" 1 "$1"
