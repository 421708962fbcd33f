// media.cpp: loading and releasing the pictures and sounds.
#include "media.h"

#include "draw.h"
#include "media_folder.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#ifdef _WIN32
#include <io.h>
static const int READ_FLAGS = O_RDONLY | O_BINARY;
#else
#include <unistd.h>
static const int READ_FLAGS = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
#endif

BITMAP *banana, *title, *insanity, *health, *ship, *cow, *targeting, *shotplus, *shotminus;
BITMAP *shot[2], *enemy1[2], *enemy2[2], *enemy3[2], *eshot1[2];
SAMPLE *sthud, *sweird, *sboing, *sfire, *shurt, *sgonenuts, *sow, *ssmallboom, *smoo, *scrazylaugh;

// the pictures, in the order they are loaded and destroyed
static const struct {
    BITMAP **slot;
    const char *name; // in the media folder
} PICTURES[] = {
    {&banana, "banana.bmp"},
    {&title, "title.bmp"},
    {&insanity, "insanity.bmp"},
    {&health, "health.bmp"},
    {&ship, "ship.bmp"},
    {&shot[0], "crazy/shot.bmp"},
    {&shot[1], "sane/shot.bmp"},
    {&enemy1[0], "crazy/enemy1.bmp"},
    {&enemy1[1], "sane/enemy1.bmp"},
    {&eshot1[0], "crazy/eshot1.bmp"},
    {&eshot1[1], "sane/eshot1.bmp"},
    {&cow, "crazy/cow.bmp"},
    {&targeting, "targeting.bmp"},
    {&shotplus, "shotplus.bmp"},
    {&shotminus, "shotminus.bmp"},
    {&enemy2[0], "crazy/enemy2.bmp"},
    {&enemy2[1], "sane/enemy2.bmp"},
    {&enemy3[0], "crazy/enemy3.bmp"},
    {&enemy3[1], "sane/enemy3.bmp"},
};

// the sounds, in the order they are loaded and destroyed
static const struct {
    SAMPLE **slot;
    const char *name;
} SOUNDS[] = {
    {&sthud, "sound/thud.wav"},   {&sweird, "sound/main.wav"},
    {&sboing, "sound/boing.wav"}, {&sfire, "sound/fire.wav"},
    {&shurt, "sound/ow.wav"},     {&sgonenuts, "sound/yell.wav"},
    {&sow, "sound/shortow.wav"},  {&ssmallboom, "sound/boom.wav"},
    {&smoo, "sound/cows.wav"},    {&scrazylaugh, "sound/crazylaugh.wav"},
};

static uint32_t le16(const unsigned char *b) {
    return b[0] | b[1] << 8;
}
static uint32_t le32(const unsigned char *b) {
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
}
static void put_le32(unsigned char *b, uint32_t v) {
    for (int i = 0; i < 4; i++)
        b[i] = v >> 8 * i & 0xff;
}

std::string say(const char *format, ...) {
    va_list args, again;
    va_start(args, format);
    va_copy(again, args);
    std::string text(std::max(0, vsnprintf(nullptr, 0, format, args)), '\0');
    vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    va_end(args);
    return text;
}

std::string read_media_file(const char *path, std::vector<unsigned char> &bytes) {
    bytes.clear();
    struct stat about;
    if (stat(path, &about) != 0)
        return errno == ENOENT ? "no such file" : strerror(errno);
    // a FIFO, a device or a folder is never opened: opening some of them waits or acts
    if (!S_ISREG(about.st_mode))
        return S_ISDIR(about.st_mode) ? "a folder, not a file" : "not a regular file";
    const int fd = open(path, READ_FLAGS);
    if (fd < 0)
        return strerror(errno);
    std::string why;
    if (fstat(fd, &about) != 0)
        why = strerror(errno);
    else if (!S_ISREG(about.st_mode))
        why = "not a regular file";
    else if (about.st_size > MEDIA_FILE_MAX)
        why = say("file too large (%lld bytes, at most %ld)", static_cast<long long>(about.st_size),
                  MEDIA_FILE_MAX);
    else {
        try {
            bytes.resize(about.st_size + 1); // one more shows a file that grew while read
        } catch (const std::bad_alloc &) {
            why = "out of memory";
        }
    }
    size_t got = 0;
    while (why.empty() && got < bytes.size()) {
        const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
        if (n == 0)
            break;
        if (n > 0)
            got += n;
        else if (errno != EINTR)
            why = strerror(errno);
    }
    close(fd);
    if (why.empty() && got > static_cast<size_t>(about.st_size))
        why = "file changed while it was read";
    bytes.resize(why.empty() ? got : 0);
    return why;
}

// the library reads a picture from a packfile of these bytes
struct memory_file {
    const std::vector<unsigned char> *bytes;
    size_t at;
};
static int memory_getc(void *f) {
    auto m = static_cast<memory_file *>(f);
    return m->at < m->bytes->size() ? (*m->bytes)[m->at++] : EOF;
}
static long memory_fread(void *to, long n, void *f) {
    auto m = static_cast<memory_file *>(f);
    n = std::min<long>(n, m->bytes->size() - m->at);
    memcpy(to, m->bytes->data() + m->at, n);
    m->at += n;
    return n;
}
static int memory_ungetc(int c, void *f) {
    auto m = static_cast<memory_file *>(f);
    return m->at > 0 ? (m->at--, c) : EOF;
}
static int memory_fseek(void *f, int offset) {
    auto m = static_cast<memory_file *>(f);
    if (offset < 0 || static_cast<size_t>(offset) > m->bytes->size() - m->at)
        return -1;
    m->at += offset;
    return 0;
}
static int memory_feof(void *f) {
    auto m = static_cast<memory_file *>(f);
    return m->at >= m->bytes->size();
}
static int memory_no_error(void *) {
    return 0;
}
static int memory_putc(int, void *) {
    return EOF;
}
static long memory_fwrite(const void *, long, void *) {
    return 0;
}
static const PACKFILE_VTABLE MEMORY_FILE = {memory_no_error, memory_getc, memory_ungetc,
                                            memory_fread,    memory_putc, memory_fwrite,
                                            memory_fseek,    memory_feof, memory_no_error};

// BMP compressions
constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3;
constexpr long FILE_HEADER = 14, OS2_HEADER = 12, WINDOWS_HEADER = 40;

// the check of a picture's header against everything the library's reader takes on trust: it
// writes wherever an RLE code points and reads a 64-bit long for the height, so it is given only
// uncompressed or colour-masked pixels of a bounded size that are all inside the file, rows
// stored bottom up
static std::string check_picture(std::vector<unsigned char> &b) {
    const long long size = b.size();
    if (size < 2 || b[0] != 'B' || b[1] != 'M')
        return "not a BMP picture";
    if (size < FILE_HEADER + 4)
        return "picture cut off in its header";
    const long long header = le32(&b[14]);
    if (header != OS2_HEADER && header != WINDOWS_HEADER && header != 108 && header != 124)
        return say("format not supported (BMP header of %lld bytes)", header);
    if (size < FILE_HEADER + header)
        return "picture cut off in its header";

    const bool os2 = header == OS2_HEADER;
    const long long width =
        os2 ? le16(&b[18]) : static_cast<long long>(static_cast<int32_t>(le32(&b[18])));
    const long long height =
        os2 ? le16(&b[20]) : static_cast<long long>(static_cast<int32_t>(le32(&b[22])));
    const int bits = le16(&b[os2 ? 24 : 28]);
    const uint32_t compression = os2 ? BI_RGB : le32(&b[30]);
    const long long rows = height < 0 ? -height : height;
    if (width < 1 || rows < 1)
        return say("picture has no pixels (%lld x %lld)", width, height);
    if (width > PICTURE_SIDE_MAX || rows > PICTURE_SIDE_MAX)
        return say("picture too large (%lld x %lld)", width, rows);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return say("bit depth %d not supported", bits);
    if (compression == BI_RLE8 || compression == BI_RLE4)
        return "format not supported (RLE-compressed)";

    long long pixels_at = le32(&b[10]);
    long long pixel_bytes = bits / 8; // of a colour-masked picture; others are packed to the bit
    if (compression == BI_BITFIELDS) {
        // the library knows three sets of colour masks, and reads the pixels right after them
        const long masks_end = FILE_HEADER + WINDOWS_HEADER + 12;
        if (header != WINDOWS_HEADER)
            return "format not supported (colour masks)";
        if (size < masks_end)
            return "picture cut off in its header";
        const uint32_t red = le32(&b[54]), blue = le32(&b[62]);
        if (!(bits == 16 && blue == 0x1f && (red == 0x7c00 || red == 0xf800)) &&
            !(bits == 32 && blue == 0xff && red == 0xff0000))
            return "format not supported (colour masks)";
        if (pixels_at != masks_end)
            return "format not supported (pixels apart from the colour masks)";
    } else if (compression != BI_RGB) {
        return say("format not supported (compression %u)", compression);
    } else if (header > WINDOWS_HEADER) {
        // a newer header the library reads as the older one followed by a palette it skips;
        // a palette of its own would be looked for in the wrong place
        if (bits <= 8)
            return say("format not supported (BMP header of %lld bytes with a palette)", header);
        put_le32(&b[14], WINDOWS_HEADER);
    }
    if (pixels_at < FILE_HEADER + header)
        return "picture's pixels overlap its header";

    const long long row = compression == BI_BITFIELDS ? (width * pixel_bytes + 3) / 4 * 4
                                                      : (width * bits + 31) / 32 * 4;
    if (pixels_at + row * rows > size)
        return say("picture cut off (%lld of %lld bytes of pixels)",
                   std::max(0LL, size - pixels_at), row * rows);

    if (bits <= 8) {
        // palette entries of four bytes (three in an old header) before the pixels
        const long long palette_bytes = pixels_at - FILE_HEADER - header;
        const long long colours =
            std::min(256LL, os2 ? palette_bytes / 3 : (palette_bytes + 1) / 4);
        for (long y = 0; y < rows; y++)
            for (long x = 0; x < width; x++) {
                const long bit = x * bits;
                const unsigned char packed = b[pixels_at + y * row + bit / 8];
                const int colour = packed >> (8 - bits - bit % 8) & ((1 << bits) - 1);
                if (colour >= colours)
                    return say("pixel colour %d beyond the palette's %lld colours", colour,
                               colours);
            }
    }
    if (height < 0) { // stored top down: the library wants them bottom up
        for (long y = 0; y < rows / 2; y++)
            std::swap_ranges(&b[pixels_at + y * row], &b[pixels_at + (y + 1) * row],
                             &b[pixels_at + (rows - 1 - y) * row]);
        put_le32(&b[22], rows);
    }
    return "";
}

std::string picture_from_bytes(std::vector<unsigned char> &bytes, BITMAP **picture) {
    *picture = nullptr;
    std::string why = check_picture(bytes);
    if (!why.empty())
        return why;
    memory_file m{&bytes, 0};
    PACKFILE *f = pack_fopen_vtable(&MEMORY_FILE, &m);
    if (f) {
        // the reader fills only the colours the picture has and converts through all of them
        PALETTE unused = {};
        *picture = load_bmp_pf(f, unused);
        pack_fclose(f);
    }
    // every picture that passed the check is read whole; only memory can run out
    return *picture ? "" : "out of memory";
}

// WAV format tags
constexpr uint32_t WAVE_FORMAT_PCM = 1, WAVE_FORMAT_EXTENSIBLE = 0xfffe;

std::string sound_from_bytes(const std::vector<unsigned char> &b, SAMPLE **sound) {
    *sound = nullptr;
    const size_t size = b.size();
    if (size < 12 || memcmp(&b[0], "RIFF", 4) != 0 || memcmp(&b[8], "WAVE", 4) != 0)
        return "not a WAV sound";
    int channels = 0, bits = 0;
    uint32_t rate = 0;
    // the chunks, each padded to an even length; what follows the sound data is not read
    for (size_t at = 12; at + 8 <= size;) {
        const unsigned char *chunk = b.data() + at + 8;
        const size_t length = le32(&b[at + 4]);
        if (length > size - at - 8)
            return say("sound cut off (a chunk of %zu bytes, %zu left)", length, size - at - 8);
        if (memcmp(&b[at], "fmt ", 4) == 0) {
            if (length < 16)
                return "sound's format chunk too short";
            uint32_t tag = le16(chunk);
            if (tag == WAVE_FORMAT_EXTENSIBLE && length >= 40)
                tag = le16(chunk + 24); // the format within the extensible one
            channels = le16(chunk + 2);
            rate = le32(chunk + 4);
            bits = le16(chunk + 14);
            if (tag != WAVE_FORMAT_PCM)
                return say("format not supported (WAV format 0x%04x, not PCM)", tag);
            if (channels != 1 && channels != 2)
                return say("format not supported (%d channels)", channels);
            if (bits != 8 && bits != 16)
                return say("format not supported (%d-bit samples)", bits);
            if (rate < SOUND_RATE_MIN || rate > SOUND_RATE_MAX)
                return say("sample rate %u Hz not between %d and %d", rate, SOUND_RATE_MIN,
                           SOUND_RATE_MAX);
        } else if (memcmp(&b[at], "data", 4) == 0) {
            if (!channels)
                return "sound has no format chunk before its data";
            const long frames = length / (channels * bits / 8);
            if (frames < 1)
                return "sound is empty";
            if (frames > static_cast<long>(rate) * SOUND_SECONDS_MAX) {
                // in whole milliseconds rounded up, so that a frame over is more than the most
                const long long ms = (frames * 1000LL + rate - 1) / rate;
                return say("sound too long (%lld.%03lld s, at most %d)", ms / 1000, ms % 1000,
                           SOUND_SECONDS_MAX);
            }
            *sound = create_sample(bits, channels == 2, rate, frames);
            if (!*sound)
                return "out of memory";
            // 16-bit samples are kept unsigned, as the library's own reader keeps them
            const long values = frames * channels;
            if (bits == 8)
                memcpy((*sound)->data, chunk, values);
            else
                for (long i = 0; i < values; i++)
                    static_cast<uint16_t *>((*sound)->data)[i] = le16(chunk + 2 * i) ^ 0x8000;
            return "";
        }
        at += 8 + length + (length & 1);
    }
    return "sound has no data";
}

const char *load_media(const std::string &folder) {
    static std::string why;
    struct stat about;
    const bool found = stat(folder.c_str(), &about) == 0;
    const int error = errno;
    if (!found && error == ENOENT) {
        why = "Couldn't find the game's pictures and sounds: there is no folder " + folder + ".\n" +
              MEDIA_FOLDER_ADVICE;
        return why.c_str();
    }
    if (!found || !S_ISDIR(about.st_mode)) {
        why = "Couldn't open the game's pictures and sounds in " + folder + ": " +
              (found ? "not a folder" : strerror(error));
        return why.c_str();
    }
    std::vector<unsigned char> bytes;
    for (const auto &p : PICTURES) {
        const std::string path = media_file(folder, p.name);
        why = read_media_file(path.c_str(), bytes);
        if (why.empty())
            why = picture_from_bytes(bytes, p.slot);
        if (!why.empty()) {
            why = "Couldn't load " + path + ": " + why;
            return why.c_str();
        }
        note_if_opaque(*p.slot);
    }
    for (const auto &s : SOUNDS) {
        const std::string path = media_file(folder, s.name);
        why = read_media_file(path.c_str(), bytes);
        if (why.empty())
            why = sound_from_bytes(bytes, s.slot);
        if (!why.empty()) {
            why = "Couldn't load " + path + ": " + why;
            return why.c_str();
        }
    }
    return nullptr;
}

const char *picture_file(const BITMAP *picture) {
    for (const auto &p : PICTURES)
        if (picture && *p.slot == picture)
            return p.name;
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
