# Hostile media: a seeded fuzz of the title picture and the background sound, and hand-made hostile
# files; every case is refused with exit code 1 and the file's full path, or the game starts and
# quits with 0, never a crash, a sanitizer report, a hang or more than 100 MB (media_fuzz.py).
# ./test runs it in the sanitized build; tests/reliability/media_fuzz.sh is the long run.
source "$(dirname "$0")/lib.sh"
python3 "$(dirname "$0")/media_fuzz.py" "$GAME" "$WORK" --seed 12 --mutations 100
