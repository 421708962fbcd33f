// record_hash.h: the hash the records in replay/ keep, of each tick of a scripted game and of what
// each damaged copy of a media file comes out as.
#pragma once

#include <allegro.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

// FNV-1a, shown as two hex digits
struct record_hash {
    uint32_t h = 2166136261u;
    void add(const void *bytes, size_t n) {
        for (size_t i = 0; i < n; i++)
            h = (h ^ static_cast<const unsigned char *>(bytes)[i]) * 16777619u;
    }
    void add(const std::string &entry) { // as a line of its own
        add(entry.data(), entry.size());
        add("\n", 1);
    }
    void add(BITMAP *picture) { // each row of pixels as a line
        const size_t row = picture->w * ((bitmap_color_depth(picture) + 7) / 8);
        for (int y = 0; y < picture->h; y++)
            add(std::string(reinterpret_cast<const char *>(picture->line[y]), row));
    }
    std::string hex() const { // mixed first, so that every bit of the hash reaches the digits
        const uint32_t m = (h ^ h >> 16) * 0x85ebca6bu, n = (m ^ m >> 13) * 0xc2b2ae35u;
        char digits[3];
        snprintf(digits, sizeof digits, "%02x", (n ^ n >> 16) & 0xff);
        return digits;
    }
};

// the Ith two-digit hash in a string of them; "" past its end
inline std::string hash_at(const std::string &hashes, size_t i) {
    return hashes.substr(std::min(2 * i, hashes.size()), 2);
}
