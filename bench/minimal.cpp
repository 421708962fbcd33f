// minimal.cpp: the least a windowed 640x480 16-bit Allegro game running at 50 frames a second
// must do: the same window and timer as Moonstruck, and one clear and one blit a frame. Esc
// quits. process.sh runs it beside the game to see what the game itself adds. "minimal N"
// does the same with a window and a frame N times as wide and high, as the game's at scale N.
#include <allegro.h>

#include <atomic>
#include <cstdlib>

static std::atomic<int> counter{0};

static void update_counter() {
    counter += 1;
}

int main(int argc, char **argv) {
    const int scale = argc > 1 ? atoi(argv[1]) : 1;
    if (scale < 1 || scale > 8)
        return 1;
    if (allegro_init() != 0 || install_keyboard() != 0 || install_timer() != 0)
        return 1;
    install_mouse();
    set_color_depth(16);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 640 * scale, 480 * scale, 0, 0) != 0)
        return 1;
    install_int_ex(update_counter, BPS_TO_TIMER(50));
    BITMAP *back_buffer = create_bitmap(640 * scale, 480 * scale);
    // dark blue rather than black, so that the first frame can be seen on the screen
    const int colour = makecol(0, 0, 96);

    while (!key[KEY_ESC]) {
        if (counter > 0) {
            while (counter > 0) {
                clear_to_color(back_buffer, colour);
                counter -= 1;
            }
            blit(back_buffer, screen, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
        }
        while (counter <= 0)
            rest(1);
    }
    destroy_bitmap(back_buffer);
    allegro_exit();
    return 0;
}
END_OF_MAIN()
