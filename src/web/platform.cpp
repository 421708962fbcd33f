// platform.cpp: the library's drivers for a browser tab: the system, the screen on the page's
// canvas, the keyboard, the mouse, the clock, the mixer's sound through Web Audio and the
// gamepad. There are no threads: the clock runs and the frame reaches the canvas while the game's
// loop rests, which Asyncify turns into a wait that gives the browser its turn.
#include "input_map.h"
#include "main.h"
#include "measures.h"

#include <allegro.h>
#include <allegro/internal/aintern.h>

#include <emscripten.h>

#include <cstdint>
#include <cstdlib>

// the page's side, in platform.js
extern "C" {
void web_page_start();
void web_page_message(const char *text);
void web_page_ended();
void web_page_present(const void *rgba, int w, int h);
int web_audio_start(int rate, int frames);
void web_audio_stop();
int web_pad_read(float *axes, bool *buttons);
}

static char empty[] = "";

// --- the system ---------------------------------------------------------------------------

// the page scales the canvas itself, so the game sees a desktop just the picture's size and
// keeps its window at scale 1
static int web_desktop_resolution(int *w, int *h) {
    *w = SCREEN_WIDTH;
    *h = SCREEN_HEIGHT;
    return 0;
}

static int web_system_init() {
    os_type = OSTYPE_UNIX;
    os_multitasking = TRUE;
    web_page_start();
    return 0;
}

static void web_system_exit() {
    web_page_ended();
}

static void web_message(const char *text) {
    web_page_message(text);
}

// the page has no close button, and a tab switched away from keeps the game running
static int web_close_button(void (*)(void)) {
    return 0;
}
static int web_switch_mode(int mode) {
    return mode == SWITCH_BACKGROUND || mode == SWITCH_BACKAMNESIA ? 0 : -1;
}

static void web_yield() {
    emscripten_sleep(0);
}

// one thread: a lock has nothing to wait for
static int one_mutex;
static void *web_create_mutex() {
    return &one_mutex;
}
static void web_mutex_nothing(void *) {}

// --- the screen -----------------------------------------------------------------------------

// the screen is a bitmap in memory; every line written marks the frame for the canvas
static unsigned char *screen_memory;
static uint32_t *canvas_pixels; // the frame as the canvas takes it: R, G, B, A bytes
static bool frame_written;

static BITMAP *web_gfx_init(int w, int h, int v_w, int v_h, int depth);
static bool make_canvas_colours_16();
static void web_gfx_exit(BITMAP *);

// clang-format off
static GFX_DRIVER gfx_web = {
    AL_ID('W', 'E', 'B', 'G'), empty, empty, "Canvas", web_gfx_init, web_gfx_exit,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, // scrolling, retrace, palette
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, // video and system bitmaps
    nullptr, nullptr, nullptr, nullptr,                   // the pointer: the page's
    nullptr, nullptr, nullptr, nullptr, nullptr,          // drawing modes, state, modes
    SCREEN_WIDTH, SCREEN_HEIGHT,
    TRUE,       // linear
    0, 0, 0, 0, // banks and video memory
    TRUE};      // windowed: fullscreen is the page's, on F11 or its button
// clang-format on

static uintptr_t web_write_bank(BITMAP *bmp, int line) {
    frame_written = true;
    return reinterpret_cast<uintptr_t>(bmp->line[line]);
}

static BITMAP *web_gfx_init(int w, int h, int v_w, int v_h, int depth) {
    if (w != SCREEN_WIDTH || h != SCREEN_HEIGHT || (v_w && v_w != w) || (v_h && v_h != h)) {
        ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, "The page shows a 640 by 480 picture only");
        return nullptr;
    }
    if (depth != 16 && depth != 32) {
        ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, "Unsupported color depth");
        return nullptr;
    }
    if (depth == 16 && !make_canvas_colours_16())
        return nullptr;
    const int pitch = w * BYTES_PER_PIXEL(depth);
    screen_memory = static_cast<unsigned char *>(calloc(h, pitch));
    canvas_pixels = static_cast<uint32_t *>(calloc(w * h, sizeof *canvas_pixels));
    BITMAP *b =
        screen_memory && canvas_pixels
            ? _make_bitmap(w, h, reinterpret_cast<uintptr_t>(screen_memory), &gfx_web, depth, pitch)
            : nullptr;
    if (!b) {
        free(screen_memory);
        free(canvas_pixels);
        screen_memory = nullptr;
        canvas_pixels = nullptr;
        return nullptr;
    }
    b->write_bank = reinterpret_cast<void *>(web_write_bank);
    gfx_web.w = w;
    gfx_web.h = h;
    frame_written = true;
    return b;
}

static void web_gfx_exit(BITMAP *) {
    free(screen_memory);
    free(canvas_pixels);
    screen_memory = nullptr;
    canvas_pixels = nullptr;
    frame_written = false;
}

static uint32_t canvas_colour(int r, int g, int b) {
    return static_cast<uint32_t>(r) | static_cast<uint32_t>(g) << 8 |
           static_cast<uint32_t>(b) << 16 | 0xff000000u;
}

// the canvas's bytes of every 16-bit colour, in the colours the library's own getr() and the
// like give; made once, a frame's conversion is then one look-up a pixel
static uint32_t *canvas_colours_16;

static bool make_canvas_colours_16() {
    if (canvas_colours_16)
        return true;
    canvas_colours_16 = static_cast<uint32_t *>(malloc((1 << 16) * sizeof *canvas_colours_16));
    if (!canvas_colours_16)
        return false;
    for (int c = 0; c < 1 << 16; c++)
        canvas_colours_16[c] = canvas_colour(getr16(c), getg16(c), getb16(c));
    return true;
}

// the screen's pixels, when written since the last time, onto the canvas
static bool present_frame_written() {
    if (!frame_written || !screen || !canvas_pixels)
        return false;
    frame_written = false;
    const int n = screen->w * screen->h;
    if (bitmap_color_depth(screen) == 16) {
        const uint16_t *in = reinterpret_cast<const uint16_t *>(screen_memory);
        for (int i = 0; i < n; i++)
            canvas_pixels[i] = canvas_colours_16[in[i]];
    } else {
        const uint32_t *in = reinterpret_cast<const uint32_t *>(screen_memory);
        for (int i = 0; i < n; i++)
            canvas_pixels[i] = canvas_colour(getr32(in[i]), getg32(in[i]), getb32(in[i]));
    }
    web_page_present(canvas_pixels, screen->w, screen->h);
    return true;
}

// --- the clock ------------------------------------------------------------------------------

static double clock_ms;    // the browser's time the library's timers last heard of
static double timer_spare; // of a timer unit, carried to the next tick so that none is lost
constexpr double LONGEST_TICK_MS = 10000; // a tab asleep for longer catches up only this much

// tells the library's timers the time gone by since they last heard
static void run_clock() {
    const double now = emscripten_get_now();
    double ms = now - clock_ms;
    clock_ms = now;
    if (ms <= 0)
        return;
    if (ms > LONGEST_TICK_MS)
        ms = LONGEST_TICK_MS;
    const double units = ms * TIMERS_PER_SECOND / 1000 + timer_spare;
    const int whole = static_cast<int>(units);
    timer_spare = units - whole;
    if (whole > 0)
        _handle_timer_tick(whole);
}

static int web_timer_init() {
    clock_ms = emscripten_get_now();
    timer_spare = 0;
    return 0;
}

static void web_timer_exit() {}

// what the game's passes cost, for the benchmark: passes, their milliseconds between two rests,
// and the milliseconds of those spent putting the frame on the canvas
static double pass_costs[3];
static double pass_started = -1;

// the loop's rest: the frame goes to the canvas, the browser has its turn (input, sound, the
// page), and the clock runs
static void web_rest(unsigned int ms, void (*callback)(void)) {
    const double rest_started = emscripten_get_now();
    if (present_frame_written() && pass_started >= 0) {
        pass_costs[0] += 1;
        pass_costs[1] += emscripten_get_now() - pass_started;
        pass_costs[2] += emscripten_get_now() - rest_started;
    }
    const double until = rest_started + ms;
    do {
        emscripten_sleep(ms > 0 ? 1 : 0);
        run_clock();
        if (callback)
            callback();
        present_frame_written();
    } while (emscripten_get_now() < until);
    pass_started = emscripten_get_now();
}

extern "C" EMSCRIPTEN_KEEPALIVE const double *web_pass_costs() {
    return pass_costs;
}

// clang-format off
static TIMER_DRIVER timer_web = {
    AL_ID('W', 'E', 'B', 'T'), empty, empty, "Browser clock", web_timer_init, web_timer_exit,
    nullptr, nullptr, nullptr, nullptr, // the library's own timer queue
    nullptr, nullptr,                   // retrace
    web_rest};
// clang-format on

// --- the keyboard ---------------------------------------------------------------------------

static int web_keyboard_init() {
    return 0;
}
static void web_keyboard_exit() {}

// clang-format off
static KEYBOARD_DRIVER keyboard_web = {
    AL_ID('W', 'E', 'B', 'K'), empty, empty, "Browser keyboard",
    FALSE, // the page's own repeats are dropped
    web_keyboard_init, web_keyboard_exit,
    nullptr, nullptr, nullptr, nullptr, nullptr, // polling, lights, rate, waiting
    nullptr, nullptr};                           // names: the library's own
// clang-format on

// a key the page heard going down or up, by the browser's name; 1 when the game takes it, and
// the page keeps it to itself
extern "C" EMSCRIPTEN_KEEPALIVE int web_key(const char *code, int down) {
    const int scancode = scancode_of(code);
    if (!scancode || !keyboard_driver)
        return scancode != 0;
    if (scancode == KEY_PAUSE) {
        // as on the desktop, Pause goes down on one press and up on the next
        if (!down)
            return 1;
        down = !key[KEY_PAUSE];
    }
    if (down)
        _handle_key_press(scancode_to_ascii(scancode), scancode);
    else
        _handle_key_release(scancode);
    return 1;
}

extern "C" EMSCRIPTEN_KEEPALIVE int web_key_known(const char *code) {
    return scancode_of(code) != 0;
}

// --- the mouse ------------------------------------------------------------------------------

static int mouse_left, mouse_top, mouse_right = SCREEN_WIDTH - 1, mouse_bottom = SCREEN_HEIGHT - 1;

static int web_mouse_init() {
    return 3;
}
static void web_mouse_exit() {}

static void web_mouse_range(int x1, int y1, int x2, int y2) {
    mouse_left = x1;
    mouse_top = y1;
    mouse_right = x2;
    mouse_bottom = y2;
}

static void web_mouse_position(int x, int y) {
    _mouse_x = x;
    _mouse_y = y;
    _handle_mouse_input();
}

// clang-format off
static MOUSE_DRIVER mouse_web = {
    AL_ID('W', 'E', 'B', 'M'), empty, empty, "Browser mouse", web_mouse_init, web_mouse_exit,
    nullptr, nullptr, // polling
    web_mouse_position, web_mouse_range,
    nullptr, nullptr, nullptr, nullptr, nullptr}; // speed, mickeys, data, cursors
// clang-format on

// the pointer over the canvas, in the picture's pixels, and the buttons held (left 1, right 2,
// middle 4)
extern "C" EMSCRIPTEN_KEEPALIVE void web_mouse(int x, int y, int buttons) {
    if (!mouse_driver)
        return;
    _mouse_x = x < mouse_left ? mouse_left : x > mouse_right ? mouse_right : x;
    _mouse_y = y < mouse_top ? mouse_top : y > mouse_bottom ? mouse_bottom : y;
    _mouse_b = buttons;
    _handle_mouse_input();
}

// the page lost the focus, or the tab was hidden: the keys and buttons held then come up, since
// the page will not hear them go, as the desktop's library does when its window loses the focus
extern "C" EMSCRIPTEN_KEEPALIVE void web_focus_lost() {
    if (!system_driver)
        return;
    if (keyboard_driver)
        for (int k = 1; k < KEY_MAX; k++)
            if (key[k] && k != KEY_PAUSE)
                _handle_key_release(k);
    if (mouse_driver && _mouse_b) {
        _mouse_b = 0;
        _handle_mouse_input();
    }
    _switch_out();
}

// --- sound ----------------------------------------------------------------------------------

constexpr int MIX_RATE = 44100;
constexpr int MIX_FRAMES = 2048; // about 46 ms a buffer, which the page asks for as it plays
static int16_t *mix_buffer;

static int web_digi_detect(int) {
    return TRUE;
}

static int web_digi_init(int input, int voices) {
    if (input)
        return -1;
    mix_buffer = static_cast<int16_t *>(calloc(MIX_FRAMES * 2, sizeof *mix_buffer));
    if (!mix_buffer)
        return -1;
    digi_driver->voices = voices;
    if (_mixer_init(MIX_FRAMES * 2, MIX_RATE, TRUE, TRUE, &digi_driver->voices) != 0 ||
        web_audio_start(MIX_RATE, MIX_FRAMES) != 0) {
        free(mix_buffer);
        mix_buffer = nullptr;
        return -1;
    }
    return 0;
}

static void web_digi_exit(int input) {
    if (input)
        return;
    web_audio_stop();
    _mixer_exit();
    free(mix_buffer);
    mix_buffer = nullptr;
}

static int web_digi_buffer_size() {
    return MIX_FRAMES;
}

// clang-format off
static DIGI_DRIVER digi_web = {
    AL_ID('W', 'E', 'B', 'A'), empty, empty, "Web Audio",
    0, 0, MIXER_MAX_SFX, MIXER_DEF_SFX, // voices: as many as the mixer has
    web_digi_detect, web_digi_init, web_digi_exit,
    nullptr, nullptr,                   // the mixer's volume: the library's own
    nullptr, nullptr,                   // streams' voices
    web_digi_buffer_size,
    _mixer_init_voice, _mixer_release_voice, _mixer_start_voice, _mixer_stop_voice,
    _mixer_loop_voice, _mixer_get_position, _mixer_set_position, _mixer_get_volume,
    _mixer_set_volume, _mixer_ramp_volume, _mixer_stop_volume_ramp, _mixer_get_frequency,
    _mixer_set_frequency, _mixer_sweep_frequency, _mixer_stop_frequency_sweep, _mixer_get_pan,
    _mixer_set_pan, _mixer_sweep_pan, _mixer_stop_pan_sweep, _mixer_set_echo,
    _mixer_set_tremolo, _mixer_set_vibrato,
    0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}; // no recording
// clang-format on

// the next MIX_FRAMES frames of the mixer, stereo, signed 16 bits, for the page's audio graph
extern "C" EMSCRIPTEN_KEEPALIVE const int16_t *web_mix() {
    if (!mix_buffer)
        return nullptr;
    _mix_some_samples(reinterpret_cast<uintptr_t>(mix_buffer), 0, TRUE);
    return mix_buffer;
}

// --- the gamepad ----------------------------------------------------------------------------

static int web_joystick_poll() {
    float axes[STANDARD_AXES] = {};
    bool buttons[STANDARD_BUTTONS] = {};
    num_joysticks = web_pad_read(axes, buttons) ? 1 : 0;
    pad_from_standard(axes, buttons, joy[0]);
    return 0;
}

static int web_joystick_init() {
    describe_pad(joy[0]);
    return web_joystick_poll();
}

static void web_joystick_exit() {
    num_joysticks = 0;
}

// clang-format off
static JOYSTICK_DRIVER joystick_web = {
    AL_ID('W', 'E', 'B', 'J'), empty, empty, "Gamepad API", web_joystick_init, web_joystick_exit,
    web_joystick_poll,
    nullptr, nullptr, nullptr, nullptr}; // calibration: none needed
// clang-format on

// --- the system driver, with the lists of the drivers above that it gives the library ----

static _DRIVER_INFO gfx_list[] = {{AL_ID('W', 'E', 'B', 'G'), &gfx_web, TRUE}, {0, nullptr, 0}};
static _DRIVER_INFO digi_list[] = {{AL_ID('W', 'E', 'B', 'A'), &digi_web, TRUE}, {0, nullptr, 0}};
static _DRIVER_INFO midi_list[] = {{0, nullptr, 0}};
static _DRIVER_INFO keyboard_list[] = {{AL_ID('W', 'E', 'B', 'K'), &keyboard_web, TRUE},
                                       {0, nullptr, 0}};
static _DRIVER_INFO mouse_list[] = {{AL_ID('W', 'E', 'B', 'M'), &mouse_web, TRUE}, {0, nullptr, 0}};
static _DRIVER_INFO joystick_list[] = {{AL_ID('W', 'E', 'B', 'J'), &joystick_web, TRUE},
                                       {0, nullptr, 0}};
static _DRIVER_INFO timer_list[] = {{AL_ID('W', 'E', 'B', 'T'), &timer_web, TRUE}, {0, nullptr, 0}};

// clang-format off
static SYSTEM_DRIVER system_web = {
    AL_ID('W', 'E', 'B', ' '), empty, empty, "Browser", web_system_init, web_system_exit,
    nullptr, nullptr,                            // executable's name, resources: none in a page
    nullptr,                                     // window title: the page has its own
    web_close_button, web_message,
    nullptr,                                     // assert
    nullptr, nullptr,                            // console
    nullptr, nullptr, nullptr, nullptr, nullptr, // bitmaps: the library's own
    nullptr, nullptr, nullptr,                   // palette and drawing: the library's own
    web_switch_mode,
    nullptr, nullptr,                            // switch lock, desktop colour depth
    web_desktop_resolution,
    nullptr,                                     // safe mode
    web_yield, web_create_mutex, web_mutex_nothing, web_mutex_nothing, web_mutex_nothing,
    [] { return gfx_list; }, [] { return digi_list; }, [] { return midi_list; },
    [] { return keyboard_list; }, [] { return mouse_list; }, [] { return joystick_list; },
    [] { return timer_list; }};
// clang-format on

// the library looks for its system driver in this list, which takes the place of its own (the
// Unix one, whose file nothing else of the link needs)
_DRIVER_INFO _system_driver_list[] = {{AL_ID('W', 'E', 'B', ' '), &system_web, TRUE},
                                      {SYSTEM_NONE, &system_none, FALSE},
                                      {0, nullptr, 0}};

// the ticks the game has run, for the page's own measure of its pace
extern "C" EMSCRIPTEN_KEEPALIVE double web_ticks_run() {
    return static_cast<double>(ticks_run);
}
