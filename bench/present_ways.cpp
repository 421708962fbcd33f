// present_ways.cpp: the ways the library offers of showing the 640x480 picture in a window
// SCALE times its size, timed in a real window: CPU ms a frame over 300 frames of a busy
// picture, beside the bare copy of a frame that size. Run under an X server with room for it:
//   present_ways SCALE
#include "display.h"

#include <allegro.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

constexpr int FRAMES = 300;

static double cpu_ms() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

int main(int argc, char **argv) {
    const int s = argc > 1 ? atoi(argv[1]) : 2;
    if (s < 2 || s > MAX_SCALE || allegro_init() != 0 || install_timer() != 0)
        return 1;
    set_color_depth(16);
    const int w = 640 * s, h = 480 * s;
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, w, h, 0, 0) != 0) {
        fprintf(stderr, "no %dx%d window: %s\n", w, h, allegro_error);
        return 1;
    }
    BITMAP *picture = create_bitmap(640, 480), *big = create_bitmap(w, h);
    srand(1969);
    for (int i = 0; i < 2000; i++)
        circlefill(picture, rand() % 640, rand() % 480, 5,
                   makecol(rand() % 256, rand() % 256, 255));

    struct way {
        const char *name;
        void (*show)(BITMAP *picture, BITMAP *big, int s);
    };
    const way ways[] = {
        {"bare copy of a frame that size",
         [](BITMAP *, BITMAP *big, int) { blit(big, screen, 0, 0, 0, 0, big->w, big->h); }},
        {"stretch_blit onto the screen",
         [](BITMAP *p, BITMAP *big, int) {
             stretch_blit(p, screen, 0, 0, 640, 480, 0, 0, big->w, big->h);
         }},
        {"stretch_blit to memory, then blit",
         [](BITMAP *p, BITMAP *big, int) {
             stretch_blit(p, big, 0, 0, 640, 480, 0, 0, big->w, big->h);
             blit(big, screen, 0, 0, 0, 0, big->w, big->h);
         }},
        {"the game's copy to memory, then blit",
         [](BITMAP *p, BITMAP *big, int s) {
             scale_picture(p, big, s);
             blit(big, screen, 0, 0, 0, 0, big->w, big->h);
         }},
        {"pixels written into the screen's lines",
         [](BITMAP *p, BITMAP *big, int s) {
             acquire_bitmap(screen);
             for (int y = 0; y < big->h; y++) {
                 const uint16_t *in = reinterpret_cast<const uint16_t *>(p->line[y / s]);
                 const uintptr_t at = bmp_write_line(screen, y);
                 for (int x = 0; x < big->w; x++)
                     bmp_write16(at + 2 * x, in[x / s]);
             }
             bmp_unwrite_line(screen);
             release_bitmap(screen);
         }},
    };
    for (const way &wy : ways) {
        const double t0 = cpu_ms();
        for (int i = 0; i < FRAMES; i++)
            wy.show(picture, big, s);
        printf("scale %d, %-40s %.3f CPU ms a frame\n", s, wy.name, (cpu_ms() - t0) / FRAMES);
    }
    destroy_bitmap(big);
    destroy_bitmap(picture);
    return 0;
}
END_OF_MAIN()
