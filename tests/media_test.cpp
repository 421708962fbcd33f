// The checks every media file passes before the library reads it: each rule refuses what breaks
// it with its reason, and what passes reads as the library reads it.
#include "fixture.h"
#include "media.h"
#include "record_hash.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using bytes_t = std::vector<unsigned char>;

// the value, little-endian, in the bytes from AT on: four of them unless told
void put(bytes_t &b, size_t at, uint32_t v, int bytes = 4) {
    for (int i = 0; i < bytes; i++)
        b[at + i] = v >> 8 * i & 0xff;
}

// a bottom-up Windows BMP whose pixel bytes count up from 1, with a full grey palette for
// depths of 8 bits and less
bytes_t bmp(int width, int height, int bits) {
    const int colours = bits <= 8 ? 1 << bits : 0;
    const size_t row = (width * bits + 31) / 32 * 4, pixels_at = 54 + 4 * colours;
    bytes_t b(pixels_at + row * height);
    b[0] = 'B', b[1] = 'M';
    put(b, 2, b.size());
    put(b, 10, pixels_at);
    put(b, 14, 40);
    put(b, 18, width);
    put(b, 22, height);
    put(b, 26, 1, 2);
    put(b, 28, bits, 2);
    for (int c = 0; c < colours; c++)
        b[54 + 4 * c] = b[55 + 4 * c] = b[56 + 4 * c] = c * 255 / (colours - 1);
    for (size_t i = pixels_at; i < b.size(); i++)
        b[i] = bits <= 8 ? i % colours : i % 251 + 1;
    return b;
}

// a WAV of FRAMES silent frames of 8-bit mono at the rate: one fmt chunk (PCM, one channel, the
// rate, as many bytes a second, one byte a frame, 8 bits) and one data chunk
bytes_t wav(int frames, uint32_t rate = 8000) {
    const char header[] = "RIFF....WAVEfmt \x10\0\0\0\1\0\1\0........\1\0\x08\0data....";
    bytes_t b(header, header + 44);
    b.resize(44 + frames, 0x80);
    put(b, 4, b.size() - 8);
    put(b, 24, rate);
    put(b, 28, rate);
    put(b, 40, frames);
    return b;
}

std::string sound_reason(const bytes_t &b) {
    SAMPLE *sound;
    std::string why = sound_from_bytes(b, &sound);
    destroy_sample(sound); // none if refused
    return why;
}

// a file of these bytes, picture.bmp, in a folder of the test's own
struct scratch_file {
    std::string dir, path;
    explicit scratch_file(const bytes_t &b) {
        int n = 0; // the first number no other folder has taken
        do
            dir = (std::filesystem::temp_directory_path() / ("media_test." + std::to_string(n++)))
                      .string();
        while (!std::filesystem::create_directory(dir));
        path = dir + "/picture.bmp";
        std::ofstream(path, std::ios::binary) << std::string(b.begin(), b.end());
    }
    ~scratch_file() { std::filesystem::remove_all(dir); } // a folder left behind stops the run
};

// the pixels in which the checks' reading of the bytes and the library's reading of a file of the
// twin differ; -1 when the two differ in size
int unlike_the_library(bytes_t bytes, const bytes_t &twin) {
    scratch_file file(twin);
    PALETTE unused = {}; // what the library's reader leaves of it is never set
    BITMAP *checked = nullptr, *library = load_bitmap(file.path.c_str(), unused);
    EXPECT_EQ(picture_from_bytes(bytes, &checked), "");
    int differ = -1;
    if (checked && library && checked->w == library->w && checked->h == library->h)
        differ = differing_pixels(checked, library);
    destroy_bitmap(checked); // none if refused
    destroy_bitmap(library);
    return differ;
}

} // namespace

TEST(PictureCheck, TopDownPictureHasThePixelsOfItsBottomUpTwin) {
    constexpr int ROWS = 5; // of 16 bytes each
    bytes_t up = bmp(5, ROWS, 24), down = up;
    put(down, 22, -ROWS);
    for (int y = 0; y < ROWS; y++) // the top row last
        std::copy(up.begin() + 54 + y * 16, up.begin() + 54 + (y + 1) * 16,
                  down.begin() + 54 + (ROWS - 1 - y) * 16);
    EXPECT_EQ(unlike_the_library(down, up), 0);
}

struct picture_case {
    const char *name;
    void (*spoil)(bytes_t &);
    const char *why;
};

// the refusals whose edges the damaged copies of the game's own files, all 24-bit, miss (the fuzz
// below has the rest): colour masks, and a palette
TEST(PictureCheck, RefusesEachUnreadableHeaderWithItsReason) {
    const picture_case CASES[] = {
        {.name = "colour masks the library doesn't know",
         .spoil = [](bytes_t &b) { put(b, 28, 16, 2), put(b, 30, 3); },
         .why = "format not supported (colour masks)"},
        {.name = "newer header with a palette",
         .spoil = [](bytes_t &b) { put(b, 14, 124), put(b, 28, 8, 2), b.resize(400); },
         .why = "format not supported (BMP header of 124 bytes with a palette)"},
        {.name = "a pixel's colour beyond a palette of 200",
         .spoil =
             [](bytes_t &b) {
                 b = bmp(4, 4, 8);
                 put(b, 10, 54 + 4 * 200); // 200 colours, and the pixels right after them
                 b.erase(b.begin() + 54 + 4 * 200, b.begin() + 54 + 4 * 256);
                 b[54 + 4 * 200 + 5] = 200;
             },
         .why = "pixel colour 200 beyond the palette's 200 colours"},
    };
    for (const picture_case &c : CASES) {
        SCOPED_TRACE(c.name);
        bytes_t b = bmp(4, 4, 24);
        c.spoil(b);
        BITMAP *refused = back_buffer; // nought once the bytes are refused
        EXPECT_EQ(picture_from_bytes(b, &refused), c.why);
        EXPECT_EQ(refused, nullptr);
    }
}

TEST(PictureCheck, PictureOfEachPaletteDepthReadsAsTheLibraryReadsIt) {
    for (int bits : {1, 4, 8}) {
        SCOPED_TRACE(std::to_string(bits) + "-bit");
        EXPECT_EQ(unlike_the_library(bmp(7, 3, bits), bmp(7, 3, bits)), 0);
    }
}

TEST(SoundCheck, RefusesASoundLongerThanTheLongestByOneFrame) {
    EXPECT_EQ(sound_reason(wav(8000 * SOUND_SECONDS_MAX)), "");
    EXPECT_EQ(sound_reason(wav(8000 * SOUND_SECONDS_MAX + 1)),
              "sound too long (30.001 s, at most 30)");
}

// variants of the plain header that the game's own sounds don't have, which the fuzz below can't
// make from them
TEST(SoundCheck, ReadsAnExtensiblePCMSoundAndAStereoOneAtTheHighestRate) {
    bytes_t extensible = wav(10), stereo = wav(10);
    const char ext[] = "\x16\0\x08\0\4\0\0\0\1\0\0\0\0\0\x10\0\x80\0\0\xaa\0\x38\x9b\x71";
    put(extensible, 16, 40), put(extensible, 20, 0xfffe, 2);
    extensible.insert(extensible.begin() + 36, ext, ext + 24);
    put(stereo, 22, 2, 2), put(stereo, 24, 96000), put(stereo, 32, 2, 2);
    EXPECT_EQ(sound_reason(extensible), "");
    EXPECT_EQ(sound_reason(stereo), "");
}

TEST(MediaFile, OnlyARegularFileOfBoundedSizeIsRead) {
    scratch_file f({});
    const std::string big = f.dir + "/big";
    std::ofstream{big};
    std::filesystem::resize_file(big, MEDIA_FILE_MAX + 1);
    struct read_case {
        const char *name;
        std::string path;
        const char *why;
    };
    std::vector<read_case> CASES = {
        {.name = "folder", .path = f.dir, .why = "a folder, not a file"},
        {.name = "too large",
         .path = big,
         .why = "file too large (16777217 bytes, at most 16777216)"},
        {.name = "empty file", .path = f.path, .why = ""},
    };
#ifndef _WIN32 // Windows has no FIFOs in its folders
    const std::string fifo = f.dir + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    CASES.push_back({.name = "FIFO", .path = fifo, .why = "not a regular file"});
#endif
    for (const read_case &c : CASES) {
        SCOPED_TRACE(c.name);
        bytes_t b(3, 1);
        EXPECT_EQ(read_media_file(c.path.c_str(), b), c.why);
        EXPECT_EQ(b.size(), 0u);
    }
}

#ifndef _WIN32 // a link on Windows needs rights a player seldom has
TEST(MediaFolder, ALinkLoopIsReportedAsOneNotAsAMissingFolder) {
    scratch_file f({});
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(f.dir);
    std::filesystem::create_directory_symlink("media", "media");
    const char *why = load_media();
    std::filesystem::current_path(here);
    EXPECT_EQ(std::string(why ? why : "loaded"),
              "Couldn't open the game's pictures and sounds in " + f.dir +
                  "/media: Too many levels of symbolic links");
}
#endif

TEST(MediaFolder, AMissingFolderIsNamedWithAdviceOnWhereItBelongs) {
    const std::string gone = std::filesystem::temp_directory_path().string() + "/no such folder";
    const char *why = load_media(gone);
    EXPECT_EQ(std::string(why ? why : "loaded"),
              "Couldn't find the game's pictures and sounds: there is no folder " + gone + ".\n" +
                  MEDIA_FOLDER_ADVICE);
}

namespace {

// a damaged copy of a picture's or a sound's bytes, the next of a seeded run: bytes changed
// anywhere or bits in the header, header fields set to extremes, the file cut short or run on,
// and a sound's data chunk put first or an odd-length chunk put in
bytes_t damaged(bytes_t b, bool sound, std::mt19937 &rng) {
    // the header fields (offset, width) of the picture and of the sound
    static const std::vector<std::pair<int, int>> FIELDS[2] = {
        {{2, 4}, {10, 4}, {14, 4}, {18, 4}, {22, 4}, {26, 2}, {28, 2}, {30, 4}, {34, 4}, {46, 4}},
        {{4, 4}, {16, 4}, {20, 2}, {22, 2}, {24, 4}, {28, 4}, {32, 2}, {34, 2}, {40, 4}}};
    static const uint32_t EXTREMES[] = {
        0,      1,      2,      3,          0x7f,       0x80,       0xff,
        0xffff, 0x7fff, 0x8000, 0x7fffffff, 0x80000000, 0xffffffff, 0xfffffffe,
        100000, 1025,   1024,   -200u,      10000000,   96001,      7999};
    auto below = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    switch (below(sound ? 7 : 5)) {
    case 0:
        for (size_t n = 1 + below(8); n > 0; n--)
            b[below(b.size())] = below(256);
        break;
    case 1:
        for (size_t n = 1 + below(4); n > 0; n--)
            b[below(64)] ^= 1 << below(8);
        break;
    case 2:
        for (size_t n = 1 + below(4); n > 0; n--) {
            const auto [at, width] = FIELDS[sound][below(FIELDS[sound].size())];
            const size_t pick = below(std::size(EXTREMES) + 1);
            put(b, at, pick < std::size(EXTREMES) ? EXTREMES[pick] : rng(), width);
        }
        break;
    case 3:
        b.resize(below(2) ? below(70) : below(b.size()));
        break;
    case 4:
        for (size_t n = 1 + below(300); n > 0; n--)
            b.push_back(below(256));
        break;
    case 5: // the data chunk before the fmt chunk
        std::rotate(b.begin() + 12, b.begin() + 36, b.end());
        break;
    case 6: { // a chunk of 1, 3, 5 or 77 bytes, with or without its pad byte
        bytes_t chunk = {'L', 'I', 'S', 'T', 0, 0, 0, 0};
        put(chunk, 4, std::array{1, 3, 5, 77}[below(4)]);
        chunk.resize(8 + chunk[4] + below(2), 'x');
        b.insert(b.begin() + (below(2) ? 12 : 36), chunk.begin(), chunk.end());
        break;
    }
    }
    return b;
}

// what became of a damaged copy: its reason for refusal, or what was read, with a hash of its
// pixels or samples; never both, and a picture read within the bounds, which draws
std::string outcome(bytes_t b, bool sound) {
    BITMAP *picture = nullptr;
    SAMPLE *s = nullptr;
    std::string what = sound ? sound_from_bytes(b, &s) : picture_from_bytes(b, &picture);
    EXPECT_EQ(what.empty(), picture || s) << what;
    if (picture) {
        EXPECT_LE(std::max(picture->w, picture->h), PICTURE_SIDE_MAX);
        draw_sprite(back_buffer, picture, 120, 40);
        record_hash pixels;
        pixels.add(picture);
        what = say("%d x %d, pixels %08x", picture->w, picture->h, pixels.h);
    }
    if (s) {
        EXPECT_GE(s->freq, SOUND_RATE_MIN);
        EXPECT_LE(s->freq, SOUND_RATE_MAX);
        EXPECT_LE(s->len, static_cast<unsigned long>(s->freq) * SOUND_SECONDS_MAX);
        record_hash samples;
        samples.add(s->data, s->len * (s->stereo ? 2 : 1) * (s->bits / 8));
        what = say("%d-bit, %s, %d Hz, %lu frames, samples %08x", s->bits,
                   s->stereo ? "stereo" : "mono", s->freq, s->len, samples.h);
    }
    destroy_bitmap(picture);
    destroy_sample(s);
    return what;
}

// the media files by their names under media/, in name order
std::vector<std::string> media_names() {
    std::vector<std::string> names;
    for (const auto &f : std::filesystem::recursive_directory_iterator(MEDIA_DIR))
        if (f.is_regular_file())
            names.push_back(std::filesystem::relative(f.path(), MEDIA_DIR).generic_string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

// What a hostile or damaged file may hold: seeded damaged copies of every media file, each refused
// with its reason or read within the bounds, never a crash or a sanitizer's report (a leak among
// them); and each copy's outcome as recorded in replay/media_fuzz.txt, a line a file: its name
// and a hash of each copy's outcome. With MEDIA_FUZZ_RECORD set to a file's name, the outcomes are
// written there instead (tools/record_replays.sh).
TEST(MediaFuzz, EachDamagedCopyOfEachFileComesOutAsRecorded) {
    constexpr int COPIES = 100; // of each file
    const char *to = std::getenv("MEDIA_FUZZ_RECORD");
    std::ifstream file(MEDIA_FUZZ_RECORDS);
    std::map<std::string, std::string> recorded;
    for (std::string line, name; std::getline(file, line);)
        if (std::istringstream words(line); line[0] != '#' && words >> name)
            words >> recorded[name];
    std::string record = "# made by tools/record_replays.sh: for each media file, a hash of what "
                         "each of its damaged copies comes out as (two hex digits a copy)\n";
    std::mt19937 rng(12);
    for (const std::string &name : media_names()) {
        bytes_t bytes;
        ASSERT_EQ(read_media_file((MEDIA_DIR "/" + name).c_str(), bytes), "");
        const bool sound = name.ends_with(".wav");
        const std::string &was = recorded[name];
        std::string hashes, first; // the first outcome that differs from its record
        int differ = 0;
        for (int n = 0; n < COPIES; n++) {
            SCOPED_TRACE(say("%s, damaged copy %d", name.c_str(), n));
            const std::string what = outcome(damaged(bytes, sound, rng), sound);
            record_hash copy;
            copy.add(what);
            hashes += copy.hex();
            if (hash_at(hashes, n) != hash_at(was, n) && differ++ == 0)
                first = say("copy %d now comes out as \"%s\"", n, what.c_str());
        }
        record += name + " " + hashes + "\n";
        if (!to) {
            EXPECT_EQ(differ, 0) << name << ": " << differ << " of " << COPIES
                                 << " damaged copies come out otherwise than recorded; " << first;
        }
    }
    if (to)
        std::ofstream(to) << record;
}
