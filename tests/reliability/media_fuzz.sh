# media_fuzz.sh [MUTATIONS] [SEED] [GAME]: the long run of the hostile-media fuzz: MUTATIONS (1000
# by default) of each of the title picture and the background sound from SEED (1 by default), and
# the hand-made hostile files, thrown at GAME (build-sanitize/moonstruck by default, the game built
# with AddressSanitizer and UndefinedBehaviorSanitizer). Every case is printed with its outcome,
# its peak memory and its time; the totals come last.
cd "$(dirname "$0")/../.."
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 tests/window/media_fuzz.py "${3:-build-sanitize/moonstruck}" "$work" \
    --mutations "${1:-1000}" --seed "${2:-1}" --verbose
