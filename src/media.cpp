// media.cpp: loading and releasing the pictures and sounds.
#include "media.h"

#include "draw.h"

#include <cstdint>
#include <cstdio>

BITMAP *banana, *title, *insanity, *health, *ship, *cow, *targeting, *shotplus, *shotminus;
BITMAP *shot[2], *enemy1[2], *enemy2[2], *enemy3[2], *eshot1[2];
SAMPLE *sthud, *sweird, *sboing, *sfire, *shurt, *sgonenuts, *sow, *ssmallboom, *smoo, *scrazylaugh;

// the pictures, in the order they are loaded and destroyed
static const struct {
    BITMAP **slot;
    const char *path;
} PICTURES[] = {
    {&banana, "media/banana.bmp"},
    {&title, "media/title.bmp"},
    {&insanity, "media/insanity.bmp"},
    {&health, "media/health.bmp"},
    {&ship, "media/ship.bmp"},
    {&shot[0], "media/crazy/shot.bmp"},
    {&shot[1], "media/sane/shot.bmp"},
    {&enemy1[0], "media/crazy/enemy1.bmp"},
    {&enemy1[1], "media/sane/enemy1.bmp"},
    {&eshot1[0], "media/crazy/eshot1.bmp"},
    {&eshot1[1], "media/sane/eshot1.bmp"},
    {&cow, "media/crazy/cow.bmp"},
    {&targeting, "media/targeting.bmp"},
    {&shotplus, "media/shotplus.bmp"},
    {&shotminus, "media/shotminus.bmp"},
    {&enemy2[0], "media/crazy/enemy2.bmp"},
    {&enemy2[1], "media/sane/enemy2.bmp"},
    {&enemy3[0], "media/crazy/enemy3.bmp"},
    {&enemy3[1], "media/sane/enemy3.bmp"},
};

// the sounds, in the order they are loaded and destroyed
static const struct {
    SAMPLE **slot;
    const char *path;
} SOUNDS[] = {
    {&sthud, "media/sound/thud.wav"},   {&sweird, "media/sound/main.wav"},
    {&sboing, "media/sound/boing.wav"}, {&sfire, "media/sound/fire.wav"},
    {&shurt, "media/sound/ow.wav"},     {&sgonenuts, "media/sound/yell.wav"},
    {&sow, "media/sound/shortow.wav"},  {&ssmallboom, "media/sound/boom.wav"},
    {&smoo, "media/sound/cows.wav"},    {&scrazylaugh, "media/sound/crazylaugh.wav"},
};

static uint32_t le32(const unsigned char *b) {
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
}

// the library reads a cut-off picture as though its missing pixels were there,
// so a picture file shorter than its header says is refused
static bool picture_file_whole(const char *path) {
    FILE *f = fopen(path, "rb");
    if (!f)
        return false;
    unsigned char header[34];
    bool read = fread(header, 1, sizeof header, f) == sizeof header;
    fseek(f, 0, SEEK_END);
    long long length = ftell(f);
    fclose(f);
    if (!read || header[0] != 'B' || header[1] != 'M')
        return false;

    long long pixels_at = le32(header + 10);
    if (le32(header + 14) < 40 || le32(header + 30) != 0)
        return length > pixels_at; // an old or compressed picture: rows of no fixed size
    long long width = static_cast<int32_t>(le32(header + 18));
    long long height = static_cast<int32_t>(le32(header + 22));
    long long bits = header[28] | header[29] << 8;
    long long row = (width * bits + 31) / 32 * 4;
    return length >= pixels_at + row * (height < 0 ? -height : height);
}

const char *load_media() {
    for (const auto &p : PICTURES) {
        *p.slot = picture_file_whole(p.path) ? load_bitmap(p.path, nullptr) : nullptr;
        if (!*p.slot)
            return p.path;
        note_if_opaque(*p.slot);
    }
    for (const auto &s : SOUNDS) {
        *s.slot = load_sample(s.path);
        if (!*s.slot)
            return s.path;
    }
    return nullptr;
}

void release_media() {
    for (const auto &p : PICTURES) {
        if (*p.slot)
            destroy_bitmap(*p.slot);
        *p.slot = nullptr;
    }
    opaque_pictures.clear();
    for (const auto &s : SOUNDS) {
        if (*s.slot)
            destroy_sample(*s.slot);
        *s.slot = nullptr;
    }
}
