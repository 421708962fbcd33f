// media.h: the pictures and sounds, loaded once from the media folder and kept for the whole run.
#pragma once

#include "media_folder.h"

#include <allegro.h>

#include <string>
#include <vector>

// the pictures; pairs hold the crazy picture at 0 and the sane one at 1
extern BITMAP *banana, *title, *insanity, *health, *ship, *cow, *targeting, *shotplus, *shotminus;
extern BITMAP *shot[2], *enemy1[2], *enemy2[2], *enemy3[2], *eshot1[2];

// the sounds
extern SAMPLE *sthud, *sweird, *sboing, *sfire, *shurt, *sgonenuts, *sow, *ssmallboom, *smoo,
    *scrazylaugh;

// every media file is read whole into memory, and no larger one is read at all
constexpr long MEDIA_FILE_MAX = 16L << 20;
// the widest and tallest picture taken: larger than the window, so larger than any use
constexpr int PICTURE_SIDE_MAX = 1024;
// the sample rates the mixer plays well, and the longest sound
constexpr int SOUND_RATE_MIN = 8000;
constexpr int SOUND_RATE_MAX = 96000;
constexpr int SOUND_SECONDS_MAX = 30;

// loads every picture and sound from the media folder; null, or what went wrong in full
// ("Couldn't load /the/full/path: why")
const char *load_media(const std::string &folder = media_folder());
// the media file a loaded picture was read from, as the media folder names it; null for any other
const char *picture_file(const BITMAP *picture);
// safe on a half-loaded set: whatever failed to load is still null
void release_media();

// the printf that say() calls: on Windows MinGW's own, which knows %zu as the system's does not
#ifdef __MINGW_PRINTF_FORMAT
#define SAY_FORMAT __MINGW_PRINTF_FORMAT
#else
#define SAY_FORMAT printf
#endif
// printf's formatting into a string of whatever length it takes: why a file was refused, in the
// media's own words
std::string say(const char *format, ...) __attribute__((format(SAY_FORMAT, 1, 2)));

// the bytes of a regular file no larger than MEDIA_FILE_MAX, read without ever waiting;
// "" or why not
std::string read_media_file(const char *path, std::vector<unsigned char> &bytes);
// the picture in a BMP file's bytes, checked before the library reads them (which may turn a
// top-down picture over in place); "" or why not
std::string picture_from_bytes(std::vector<unsigned char> &bytes, BITMAP **picture);
// the sound in a WAV file's bytes; "" or why not
std::string sound_from_bytes(const std::vector<unsigned char> &bytes, SAMPLE **sound);
