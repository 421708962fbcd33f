# sound_lib.sh: the game's sound mix written to a file, for the tests that listen to it. Sourced
# after lib.sh.
#
# ALSA's default device writes Allegro's mix to $OUT: 16-bit unsigned stereo at 44100 Hz, silence
# at 32768. The null device never waits, so the mix runs ahead of the clock: lengths count sound,
# not wall-clock time. Allegro is told to take ALSA rather than look for a sound driver; a test
# starts the game with HOME=$WORK/home.
OUT=$WORK/mix.raw
SECOND=$((44100 * 4))
mkdir "$WORK/home"
cat >"$WORK/home/.asoundrc" <<EOF
pcm.!default { type file; slave.pcm "null"; file "$OUT"; format "raw" }
EOF
printf '[sound]\ndigi_card = ALSA\n' >"$WORK/home/allegro.cfg"

mixed() { stat -c %s "$OUT" 2>/dev/null || echo 0; }
# wait_mixed TENTHS: waits until the mix has grown by that many tenths of a second; MIXED: its end
wait_mixed() {
    local from=$(($(mixed) / 4 * 4)) more=$(($1 * SECOND / 10))
    wait_for "$1 tenths of a second of sound" eval '[ "$(mixed)" -ge $((from + more)) ]'
    MIXED=$((from + more))
}

# media_sounding_only WAV: a copy of the media in $WORK/run where every sound but that one is silence
media_sounding_only() {
    local wav
    mkdir -p "$WORK/run" && cp -r media "$WORK/run/"
    for wav in "$WORK"/run/media/sound/*.wav; do
        [ "${wav##*/}" != "$1" ] || continue
        cmp -s -n 4 -i 36:0 "$wav" <(printf data) || fail "$wav does not have the plain 44-byte header"
        { head -c 44 "$wav" && head -c $(($(stat -c %s "$wav") - 44)) /dev/zero; } >"$WORK/quiet.wav"
        mv "$WORK/quiet.wav" "$wav"
    done
}
