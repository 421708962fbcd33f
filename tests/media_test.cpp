// The checks every media file passes before the library reads it: the game's own files load as
// the library loads them, and each rule refuses what breaks it.
#include "media.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using bytes_t = std::vector<unsigned char>;

void put16(bytes_t &b, size_t at, uint32_t v) {
    b[at] = v & 0xff;
    b[at + 1] = v >> 8 & 0xff;
}
void put32(bytes_t &b, size_t at, uint32_t v) {
    put16(b, at, v & 0xffff);
    put16(b, at + 2, v >> 16);
}

// a bottom-up Windows BMP whose pixel bytes count up from 1, with a full grey palette for
// depths of 8 bits and less
bytes_t bmp(int width, int height, int bits) {
    const int colours = bits <= 8 ? 1 << bits : 0;
    const size_t row = (width * bits + 31) / 32 * 4, pixels_at = 54 + 4 * colours;
    bytes_t b(pixels_at + row * height);
    b[0] = 'B', b[1] = 'M';
    put32(b, 2, b.size());
    put32(b, 10, pixels_at);
    put32(b, 14, 40);
    put32(b, 18, width);
    put32(b, 22, height);
    put16(b, 26, 1);
    put16(b, 28, bits);
    for (int c = 0; c < colours; c++)
        b[54 + 4 * c] = b[55 + 4 * c] = b[56 + 4 * c] = c * 255 / (colours - 1);
    for (size_t i = pixels_at; i < b.size(); i++)
        b[i] = bits <= 8 ? i % colours : i % 251 + 1;
    return b;
}

// a WAV of one fmt chunk and one data chunk of FRAMES frames
bytes_t wav(int channels, int rate, int bits, int frames) {
    const int data = frames * channels * bits / 8;
    bytes_t b(44 + data);
    memcpy(&b[0], "RIFF", 4);
    put32(b, 4, b.size() - 8);
    memcpy(&b[8], "WAVEfmt ", 8);
    put32(b, 16, 16);
    put16(b, 20, 1);
    put16(b, 22, channels);
    put32(b, 24, rate);
    put32(b, 28, rate * channels * bits / 8);
    put16(b, 32, channels * bits / 8);
    put16(b, 34, bits);
    memcpy(&b[36], "data", 4);
    put32(b, 40, data);
    for (int i = 0; i < data; i++)
        b[44 + i] = i * 7 % 256;
    return b;
}

std::string picture_reason(bytes_t b) {
    BITMAP *picture;
    std::string why = picture_from_bytes(b, &picture);
    if (picture)
        destroy_bitmap(picture);
    return why;
}

std::string sound_reason(const bytes_t &b) {
    SAMPLE *sound;
    std::string why = sound_from_bytes(b, &sound);
    if (sound)
        destroy_sample(sound);
    return why;
}

// how many pixels of two pictures of one size differ
int differing_pixels(BITMAP *a, BITMAP *b) {
    int differ = 0;
    for (int y = 0; y < a->h; y++)
        for (int x = 0; x < a->w; x++)
            differ += getpixel(a, x, y) != getpixel(b, x, y);
    return differ;
}

int differing_values(SAMPLE *a, SAMPLE *b) {
    const long values = a->len * (a->stereo ? 2 : 1);
    int differ = 0;
    for (long i = 0; i < values; i++)
        differ += a->bits == 8
                      ? static_cast<uint8_t *>(a->data)[i] != static_cast<uint8_t *>(b->data)[i]
                      : static_cast<uint16_t *>(a->data)[i] != static_cast<uint16_t *>(b->data)[i];
    return differ;
}

const char *const OWN_PICTURES[] = {
    "banana.bmp",      "title.bmp",        "insanity.bmp",    "health.bmp",
    "ship.bmp",        "crazy/shot.bmp",   "sane/shot.bmp",   "crazy/enemy1.bmp",
    "sane/enemy1.bmp", "crazy/eshot1.bmp", "sane/eshot1.bmp", "crazy/cow.bmp",
    "targeting.bmp",   "shotplus.bmp",     "shotminus.bmp",   "crazy/enemy2.bmp",
    "sane/enemy2.bmp", "crazy/enemy3.bmp", "sane/enemy3.bmp",
};
const char *const OWN_SOUNDS[] = {
    "sound/thud.wav", "sound/main.wav",       "sound/boing.wav",   "sound/fire.wav",
    "sound/ow.wav",   "sound/yell.wav",       "sound/shortow.wav", "sound/boom.wav",
    "sound/cows.wav", "sound/crazylaugh.wav",
};

// a picture's bytes read through the checks, and the same file read by the library
struct both_pictures {
    BITMAP *checked = nullptr, *library = nullptr;
    std::string why;
    both_pictures(bytes_t b, const char *library_path) {
        why = picture_from_bytes(b, &checked);
        library = load_bitmap(library_path, nullptr);
    }
    ~both_pictures() {
        if (checked)
            destroy_bitmap(checked);
        if (library)
            destroy_bitmap(library);
    }
};

// a file of these bytes in a folder of the test's own
struct scratch_file {
    std::string dir, path;
    explicit scratch_file(const bytes_t &b, const char *name = "picture.bmp") {
        char pattern[] = "/tmp/media_test.XXXXXX";
        dir = mkdtemp(pattern);
        path = dir + "/" + name;
        FILE *f = fopen(path.c_str(), "wb");
        if (!b.empty())
            fwrite(b.data(), 1, b.size(), f);
        fclose(f);
    }
    ~scratch_file() {
        std::string rm = "rm -rf '" + dir + "'";
        if (system(rm.c_str()) != 0)
            ADD_FAILURE() << "couldn't remove " << dir;
    }
};

} // namespace

TEST(OwnMedia, EverySoundGivesTheSampleOfTheLibrarysOwnReader) {
    for (const char *name : OWN_SOUNDS) {
        SCOPED_TRACE(name);
        const std::string path = std::string(MEDIA_DIR "/") + name;
        bytes_t b;
        ASSERT_EQ(read_media_file(path.c_str(), b), "");
        SAMPLE *checked = nullptr;
        ASSERT_EQ(sound_from_bytes(b, &checked), "");
        SAMPLE *library = load_sample(path.c_str());
        ASSERT_NE(library, nullptr);
        EXPECT_EQ(checked->bits, library->bits);
        EXPECT_EQ(checked->stereo, library->stereo);
        EXPECT_EQ(checked->freq, library->freq);
        EXPECT_EQ(checked->len, library->len);
        EXPECT_EQ(checked->loop_end, library->loop_end);
        EXPECT_EQ(differing_values(checked, library), 0);
        destroy_sample(checked);
        destroy_sample(library);
    }
}

struct picture_case {
    const char *name;
    std::function<void(bytes_t &)> spoil;
    const char *why;
};

TEST(PictureCheck, RefusesEachBrokenOrUnreadableHeaderWithItsReason) {
    const picture_case CASES[] = {
        {.name = "not BM", .spoil = [](bytes_t &b) { b[1] = 'X'; }, .why = "not a BMP picture"},
        {.name = "cut in the header",
         .spoil = [](bytes_t &b) { b.resize(30); },
         .why = "picture cut off in its header"},
        {.name = "header of 64 bytes",
         .spoil = [](bytes_t &b) { put32(b, 14, 64); },
         .why = "format not supported (BMP header of 64 bytes)"},
        {.name = "no width",
         .spoil = [](bytes_t &b) { put32(b, 18, 0); },
         .why = "picture has no pixels (0 x 4)"},
        {.name = "negative width",
         .spoil = [](bytes_t &b) { put32(b, 18, -3); },
         .why = "picture has no pixels (-3 x 4)"},
        {.name = "no height",
         .spoil = [](bytes_t &b) { put32(b, 22, 0); },
         .why = "picture has no pixels (4 x 0)"},
        {.name = "100000 square",
         .spoil = [](bytes_t &b) { put32(b, 18, 100000), put32(b, 22, 100000); },
         .why = "picture too large (100000 x 100000)"},
        {.name = "one too wide",
         .spoil = [](bytes_t &b) { put32(b, 18, PICTURE_SIDE_MAX + 1); },
         .why = "picture too large (1025 x 4)"},
        {.name = "one too tall, top down",
         .spoil = [](bytes_t &b) { put32(b, 22, -(PICTURE_SIDE_MAX + 1)); },
         .why = "picture too large (4 x 1025)"},
        {.name = "0 bits",
         .spoil = [](bytes_t &b) { put16(b, 28, 0); },
         .why = "bit depth 0 not supported"},
        {.name = "2 bits",
         .spoil = [](bytes_t &b) { put16(b, 28, 2); },
         .why = "bit depth 2 not supported"},
        {.name = "RLE8",
         .spoil = [](bytes_t &b) { put16(b, 28, 8), put32(b, 30, 1); },
         .why = "format not supported (RLE-compressed)"},
        {.name = "RLE4",
         .spoil = [](bytes_t &b) { put16(b, 28, 4), put32(b, 30, 2); },
         .why = "format not supported (RLE-compressed)"},
        {.name = "JPEG inside",
         .spoil = [](bytes_t &b) { put32(b, 30, 4); },
         .why = "format not supported (compression 4)"},
        {.name = "colour masks the library doesn't know",
         .spoil = [](bytes_t &b) { put16(b, 28, 16), put32(b, 30, 3); },
         .why = "format not supported (colour masks)"},
        {.name = "pixels inside the header",
         .spoil = [](bytes_t &b) { put32(b, 10, 50); },
         .why = "picture's pixels overlap its header"},
        {.name = "pixels past the end",
         .spoil = [](bytes_t &b) { put32(b, 10, 100000); },
         .why = "picture cut off (0 of 48 bytes of pixels)"},
        {.name = "last row cut",
         .spoil = [](bytes_t &b) { b.pop_back(); },
         .why = "picture cut off (47 of 48 bytes of pixels)"},
        {.name = "newer header with a palette",
         .spoil = [](bytes_t &b) { put32(b, 14, 124), put16(b, 28, 8), b.resize(400); },
         .why = "format not supported (BMP header of 124 bytes with a palette)"},
    };
    for (const picture_case &c : CASES) {
        SCOPED_TRACE(c.name);
        bytes_t b = bmp(4, 4, 24);
        c.spoil(b);
        EXPECT_EQ(picture_reason(b), c.why);
    }
}

TEST(PictureCheck, RefusesAPixelColourBeyondThePalette) {
    bytes_t b = bmp(4, 4, 8);
    put32(b, 10, 54 + 4 * 200); // 200 colours, and the pixels right after them
    b.erase(b.begin() + 54 + 4 * 200, b.begin() + 54 + 4 * 256);
    b[54 + 4 * 200 + 5] = 200;
    EXPECT_EQ(picture_reason(b), "pixel colour 200 beyond the palette's 200 colours");
}

TEST(PictureCheck, RefusesAOneBitPixelBeyondAOneColourPalette) {
    bytes_t b = bmp(9, 1, 1);
    put32(b, 10, 58);
    b.erase(b.begin() + 58, b.begin() + 62);
    b[58] = 0, b[59] = 0x80; // the ninth pixel is the first of the second byte
    EXPECT_EQ(picture_reason(b), "pixel colour 1 beyond the palette's 1 colours");
}

TEST(PictureCheck, TopDownPictureHasThePixelsOfItsBottomUpTwin) {
    bytes_t up = bmp(5, 3, 24), down = up;
    put32(down, 22, -3);
    const size_t row = 16;
    for (int y = 0; y < 3; y++)
        std::copy(up.begin() + 54 + y * row, up.begin() + 54 + (y + 1) * row,
                  down.begin() + 54 + (2 - y) * row);
    scratch_file twin(up);
    both_pictures p(down, twin.path.c_str());
    ASSERT_EQ(p.why, "");
    EXPECT_EQ(p.checked->h, 3);
    EXPECT_EQ(differing_pixels(p.checked, p.library), 0);
}

TEST(PictureCheck, NewerHeaderReadsAsTheWindowsOne) {
    bytes_t old = bmp(3, 2, 24), newer(54 + 84, 0);
    std::copy(old.begin(), old.begin() + 54, newer.begin());
    newer.insert(newer.end(), old.begin() + 54, old.end());
    put32(newer, 14, 124);
    put32(newer, 10, 54 + 84);
    scratch_file twin(old);
    both_pictures p(newer, twin.path.c_str());
    ASSERT_EQ(p.why, "");
    EXPECT_EQ(differing_pixels(p.checked, p.library), 0);
}

TEST(PictureCheck, EveryDepthAndTheColourMasksReadAsTheLibraryReadsThem) {
    struct depth {
        const char *name;
        int bits;
        uint32_t red_mask; // a colour-masked picture's, or 0
    };
    const depth DEPTHS[] = {
        {.name = "1 bit", .bits = 1, .red_mask = 0},
        {.name = "4 bits", .bits = 4, .red_mask = 0},
        {.name = "8 bits", .bits = 8, .red_mask = 0},
        {.name = "16 bits", .bits = 16, .red_mask = 0},
        {.name = "32 bits", .bits = 32, .red_mask = 0},
        {.name = "565 masks", .bits = 16, .red_mask = 0xf800},
        {.name = "555 masks", .bits = 16, .red_mask = 0x7c00},
        {.name = "888 masks", .bits = 32, .red_mask = 0xff0000},
    };
    for (const depth &d : DEPTHS) {
        SCOPED_TRACE(d.name);
        bytes_t b = bmp(7, 3, d.bits);
        if (d.red_mask) {
            bytes_t masks(12, 0);
            put32(masks, 0, d.red_mask);
            put32(masks, 4, d.bits == 16 ? (d.red_mask == 0xf800 ? 0x7e0 : 0x3e0) : 0xff00);
            put32(masks, 8, d.bits == 16 ? 0x1f : 0xff);
            b.insert(b.begin() + 54, masks.begin(), masks.end());
            put32(b, 10, 66);
            put32(b, 30, 3);
        }
        scratch_file twin(b);
        both_pictures p(b, twin.path.c_str());
        ASSERT_EQ(p.why, "");
        ASSERT_NE(p.library, nullptr);
        EXPECT_EQ(differing_pixels(p.checked, p.library), 0);
    }
}

struct sound_case {
    const char *name;
    std::function<void(bytes_t &)> spoil;
    const char *why;
};

TEST(SoundCheck, RefusesEachBrokenOrUnplayableSoundWithItsReason) {
    const sound_case CASES[] = {
        {.name = "not RIFF", .spoil = [](bytes_t &b) { b[0] = 'X'; }, .why = "not a WAV sound"},
        {.name = "no fmt before data",
         .spoil = [](bytes_t &b) { memcpy(&b[12], "junk", 4); },
         .why = "sound has no format chunk before its data"},
        {.name = "short fmt",
         .spoil = [](bytes_t &b) { put32(b, 16, 14), b.erase(b.begin() + 34, b.begin() + 36); },
         .why = "sound's format chunk too short"},
        {.name = "floating point",
         .spoil = [](bytes_t &b) { put16(b, 20, 3); },
         .why = "format not supported (WAV format 0x0003, not PCM)"},
        {.name = "3 channels",
         .spoil = [](bytes_t &b) { put16(b, 22, 3); },
         .why = "format not supported (3 channels)"},
        {.name = "24 bits",
         .spoil = [](bytes_t &b) { put16(b, 34, 24); },
         .why = "format not supported (24-bit samples)"},
        {.name = "just under the rates",
         .spoil = [](bytes_t &b) { put32(b, 24, SOUND_RATE_MIN - 1); },
         .why = "sample rate 7999 Hz not between 8000 and 96000"},
        {.name = "just over the rates",
         .spoil = [](bytes_t &b) { put32(b, 24, SOUND_RATE_MAX + 1); },
         .why = "sample rate 96001 Hz not between 8000 and 96000"},
        {.name = "10 MHz",
         .spoil = [](bytes_t &b) { put32(b, 24, 10000000); },
         .why = "sample rate 10000000 Hz not between 8000 and 96000"},
        {.name = "data cut off",
         .spoil = [](bytes_t &b) { b.resize(b.size() - 1); },
         .why = "sound cut off (a chunk of 200 bytes, 199 left)"},
        {.name = "data of 4 GB",
         .spoil = [](bytes_t &b) { put32(b, 40, 0xffffffff); },
         .why = "sound cut off (a chunk of 4294967295 bytes, 200 left)"},
        {.name = "empty",
         .spoil = [](bytes_t &b) { put32(b, 40, 1), b.resize(45); },
         .why = "sound is empty"},
        {.name = "no data", .spoil = [](bytes_t &b) { b.resize(36); }, .why = "sound has no data"},
    };
    for (const sound_case &c : CASES) {
        SCOPED_TRACE(c.name);
        bytes_t b = wav(1, 22050, 16, 100);
        c.spoil(b);
        EXPECT_EQ(sound_reason(b), c.why);
    }
}

TEST(SoundCheck, RefusesASoundLongerThanTheLongest) {
    EXPECT_EQ(sound_reason(wav(1, 8000, 8, 8000 * SOUND_SECONDS_MAX)), "");
    EXPECT_EQ(sound_reason(wav(1, 8000, 8, 8000 * SOUND_SECONDS_MAX + 8000)),
              "sound too long (31 s, at most 30)");
}

TEST(SoundCheck, OddChunkIsSkippedWithItsPadByte) {
    bytes_t plain = wav(2, 11025, 8, 50), padded = plain;
    const unsigned char list[] = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    padded.insert(padded.begin() + 36, list, list + sizeof list);
    SAMPLE *a = nullptr, *b = nullptr;
    ASSERT_EQ(sound_from_bytes(plain, &a), "");
    ASSERT_EQ(sound_from_bytes(padded, &b), "");
    EXPECT_EQ(b->len, 50);
    EXPECT_EQ(b->stereo, 1);
    EXPECT_EQ(differing_values(a, b), 0);
    destroy_sample(a);
    destroy_sample(b);
}

TEST(SoundCheck, ExtensiblePcmPlaysAsPlainPcm) {
    bytes_t plain = wav(1, 22050, 16, 40), extensible = plain;
    bytes_t ext(24, 0); // the extension's size, valid bits, channel mask and format
    put16(ext, 0, 22);
    put16(ext, 2, 16);
    put16(ext, 8, 1);
    extensible.insert(extensible.begin() + 36, ext.begin(), ext.end());
    put32(extensible, 16, 40);
    put16(extensible, 20, 0xfffe);
    SAMPLE *a = nullptr, *b = nullptr;
    ASSERT_EQ(sound_from_bytes(plain, &a), "");
    ASSERT_EQ(sound_from_bytes(extensible, &b), "");
    EXPECT_EQ(b->len, 40);
    EXPECT_EQ(differing_values(a, b), 0);
    destroy_sample(a);
    destroy_sample(b);

    put16(extensible, 44, 3); // floating point inside
    EXPECT_EQ(sound_reason(extensible), "format not supported (WAV format 0x0003, not PCM)");
}

TEST(MediaFile, OnlyARegularFileOfBoundedSizeIsRead) {
    scratch_file f(bmp(2, 2, 24));
    const std::string fifo = f.dir + "/fifo", link = f.dir + "/link", big = f.dir + "/big";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(symlink(fifo.c_str(), link.c_str()), 0);
    ASSERT_EQ(truncate(f.path.c_str(), 0), 0);
    FILE *grown = fopen(big.c_str(), "wb");
    fclose(grown);
    ASSERT_EQ(truncate(big.c_str(), MEDIA_FILE_MAX + 1), 0);
    struct read_case {
        const char *name;
        std::string path;
        const char *why;
    };
    const read_case CASES[] = {
        {.name = "FIFO", .path = fifo, .why = "not a regular file"},
        {.name = "link to a FIFO", .path = link, .why = "not a regular file"},
        {.name = "device", .path = "/dev/zero", .why = "not a regular file"},
        {.name = "folder", .path = f.dir, .why = "a folder, not a file"},
        {.name = "missing", .path = f.dir + "/none", .why = "no such file"},
        {.name = "too large",
         .path = big,
         .why = "file too large (16777217 bytes, at most 16777216)"},
        {.name = "empty file", .path = f.path, .why = ""},
    };
    for (const read_case &c : CASES) {
        SCOPED_TRACE(c.name);
        bytes_t b(3, 1);
        EXPECT_EQ(read_media_file(c.path.c_str(), b), c.why);
        EXPECT_EQ(b.size(), 0u);
    }
}

TEST(MediaFolder, MissingFolderNamesTheFolderSearchedAndHowToStart) {
    scratch_file f(bytes_t{});
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(chdir(f.dir.c_str()), 0);
    const char *why = load_media();
    ASSERT_EQ(chdir(here), 0);
    ASSERT_NE(why, nullptr);
    EXPECT_EQ(std::string(why),
              "Couldn't find the game's pictures and sounds: there is no folder " + f.dir +
                  "/media.\nStart the game with ./play in its source folder, or with the "
                  "moonstruck launcher once it is installed.");
}

#ifndef __SANITIZE_ADDRESS__ // the sanitizer reserves far more address space than any limit here
TEST(SoundCheck, SoundBeyondTheMemoryLeftSaysMemoryRanOut) {
    const bytes_t b = wav(2, SOUND_RATE_MAX, 16, SOUND_RATE_MAX * 25); // 9.6 MB of samples
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) { // this process's address space, and 2 MB more
        long size_kb = 0;
        FILE *status = fopen("/proc/self/status", "r");
        char line[256];
        while (fgets(line, sizeof line, status))
            sscanf(line, "VmSize: %ld", &size_kb);
        fclose(status);
        rlimit limit{};
        getrlimit(RLIMIT_AS, &limit); // a limit already set stays the ceiling
        limit.rlim_cur = std::min(static_cast<rlim_t>(size_kb + 2048) * 1024, limit.rlim_max);
        if (setrlimit(RLIMIT_AS, &limit) != 0)
            _exit(2);
        _exit(sound_reason(b) == "out of memory" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
}
#endif
