#include "headless.h"

#include "desktop.h"
#include "display.h"
#include "draw.h"
#include "enemy.h"
#include "gamepad.h"
#include "logic.h"
#include "main.h"
#include "media.h"
#include "particle.h"
#include "player.h"

#include <allegro.h>

#include <cerrno>
#include <cstdlib>

static GFX_DRIVER screen_size_only; // only w and h are read: SCREEN_W and SCREEN_H

bool start_headless_library() {
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return false;
    set_color_depth(16);
    screen_size_only.w = SCREEN_WIDTH;
    screen_size_only.h = SCREEN_HEIGHT;
    gfx_driver = &screen_size_only;
    back_buffer = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    return back_buffer != nullptr;
}

void stop_headless_library() {
    gfx_driver = nullptr;
    destroy_bitmap(back_buffer);
    back_buffer = nullptr;
}

void reset_game_globals(unsigned seed) {
    drawqueue.clear();
    particles.clear();
    enemies.clear();
    eshot.clear();
    powerups.clear();
    player.shots.clear();
    player.init(false);
    for (int k = 0; k < KEY_MAX; k++)
        key[k] = 0;
    mouse_x = mouse_y = mouse_b = 0;
    num_joysticks = 0; // no gamepad, and an unused one standing still
    for (int j = 0; j < MAX_JOYSTICKS; j++)
        joy[j] = {};
    gamepad = {};
    display_scale = window_scale = largest_scale = 1;
    fullscreen = false;
    picture_width = SCREEN_WIDTH;
    picture_height = SCREEN_HEIGHT;
    picture_left = picture_top = 0;
    notice = nullptr;
    notice_frames = 0;
    frames_since_mode_change = 60 * TICKS_PER_SECOND; // the window was opened long ago
    score = highscore = counter = 0;
    level = 1;
    desktop.init();
    focus_lost = false;
    srand(seed);
}
