#include "main.h"

#include "draw.h"
#include "logic.h"
#include "particle.h"
#include "player.h"

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

std::atomic<int> counter{0};
int highscore = 0;

BITMAP *back_buffer;
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

static std::atomic<bool> close_requested{false};

void update_counter() {
    counter += 1;
}

// the window's close button, Ctrl-C and a polite kill all quit as "Exit" does,
// at the end of the tick
static void close_button_pressed() {
    close_requested = true;
}
static void quit_signal(int) {
    close_requested = true;
}

// tells the player why the game can't start, and gives init_everything's failure code
static short fail(const std::string &why) {
    allegro_message("%s\n", why.c_str());
    return 1;
}

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

short init_everything() {
    if (allegro_init() != 0) {
        // with no window system to talk to, the message goes to the terminal
        if (allegro_error[0])
            fprintf(stderr, "Couldn't start the Allegro library: %s\n", allegro_error);
        else
            fprintf(stderr, "Couldn't start the Allegro library: is there an X display?\n");
        return 1;
    }
    if (install_keyboard() != 0)
        return fail("Couldn't install the keyboard!");
    if (install_timer() != 0)
        return fail("Couldn't install the timer!");
    install_mouse(); // without a mouse only the mouse gun is lost
    srand(time(nullptr));

    set_color_depth(16);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, SCREEN_WIDTH, SCREEN_HEIGHT, 0, 0) != 0)
        return fail("Couldn't set up a graphics mode!");
    set_window_title("Moonstruck");
    set_close_button_callback(close_button_pressed);
    signal(SIGINT, quit_signal);
    signal(SIGTERM, quit_signal);

    // no sound card means a silent game; the game plays no music, so it asks for no MIDI
    install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr);
    install_int_ex(update_counter, BPS_TO_TIMER(TICKS_PER_SECOND));
    back_buffer = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
    if (!back_buffer)
        return fail("Couldn't create the back buffer!");
    if (const char *unloaded = load_media()) {
        release_media();
        return fail(std::string("Couldn't load ") + unloaded);
    }
    return 0;
}

void shutdown_everything() {
    remove_int(update_counter);
    destroy_bitmap(back_buffer);
    back_buffer = nullptr;
    release_media();
    allegro_exit();
}

static short run_state(short state) {
    switch (state) {
    case STATE_MENU:
        return menu();
    case STATE_PLAYING:
        return logic();
    case STATE_GAME_OVER:
        return dead();
    default:
        return state;
    }
}

void run_pending_ticks(short &state) {
    while (counter > 0) {
        buffer_clear_to_color(makecol(0, 0, 0));
        state = run_state(state);
        if (close_requested)
            state = STATE_QUIT;
        counter -= 1;
    }
}

void present_frame() {
    draw_all();
    blit(back_buffer, screen, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
}

enum menu_choice : short { MENU_ONE_PLAYER = 0, MENU_TWO_PLAYER = 1, MENU_EXIT = 2 };
constexpr short MENU_CHOICES = 3;
constexpr short KEY_REPEAT_DELAY = 10;  // a held arrow moves the choice every 11 ticks
constexpr short MENU_RETURN_DELAY = 15; // keys still held from the game are ignored this long

// a banana turns by 1 to 10 units a tick
static void turn_banana(int &angle) {
    angle += rand() % 10 + 1;
    if (angle > 256)
        angle = 0;
}

static void move_choice(short &sel, short by, short &delay) {
    sel = (sel + by + MENU_CHOICES) % MENU_CHOICES;
    delay = KEY_REPEAT_DELAY;
    play_sample(sthud, 255, 128, 1000, 0);
}

static short take_choice(short sel, short &delay) {
    particles.clear();
    delay = MENU_RETURN_DELAY;
    score = 0;
    level = 1;
    switch (sel) {
    case MENU_ONE_PLAYER:
        player.init(false);
        return STATE_PLAYING;
    case MENU_TWO_PLAYER:
        player.init(true);
        return STATE_PLAYING;
    default:
        return STATE_QUIT;
    }
}

static short read_menu_keys(short &sel, short &delay) {
    if (key[KEY_UP])
        move_choice(sel, -1, delay);
    if (key[KEY_DOWN])
        move_choice(sel, +1, delay);
    if (key[KEY_ENTER])
        return take_choice(sel, delay);
    if (key[KEY_ESC])
        return STATE_QUIT;
    return STATE_MENU;
}

short menu() {
    static short sel = MENU_ONE_PLAYER; // kept, so a returning player finds the last choice
    static short delay = 0;             // ticks during which the keys are ignored
    static int rotate = rand() % 256;   // the bananas' angles, 256 to the full turn
    static int rotate2 = rand() % 256;
    const int white = makecol(255, 255, 255);

    new_falling_star();
    buffer_draw_sprite(title, 120, 40);
    buffer_textout_centre_ex(font, "One Player Game", 320, 250, white);
    buffer_textout_centre_ex(font, "Two Player Game", 320, 280, white);
    buffer_textout_centre_ex(font, "Exit", 320, 310, white);
    do_particles();
    turn_banana(rotate);
    turn_banana(rotate2);
    buffer_rotate_sprite(banana, 220, 245 + 30 * sel, rotate << 16);
    buffer_rotate_sprite(banana, 400, 245 + 30 * sel, rotate2 << 16);
    buffer_textout_centre_ex(font, "High Score: " + std::to_string(highscore), 320, 450, white);

    if (delay > 0) {
        delay -= 1;
        return STATE_MENU;
    }
    return read_menu_keys(sel, delay);
}

constexpr int WRECK_TICKS = 150; // the ship blows up until the screen has run this long
constexpr int BOOM_EVERY = 5;
constexpr int BOOM_PITCH = 1500; // the booms are half again as high as a kill's

// explosions all over the wreck, with a high boom every fifth tick
static void blow_up_ship(int time) {
    int y = static_cast<int>(player.y) + rand() % 20;
    int x = static_cast<int>(player.x) + rand() % 20;
    new_particle(PARTICLE_EXPLOSION, x, y, 0, 0, "");
    if (time % BOOM_EVERY == 0)
        play_sample(ssmallboom, 255, 128, BOOM_PITCH, 0);
    player.draw();
    do_particles();
}

short dead() {
    static bool first = true;
    static int time = 0; // ticks shown, counted from 1

    if (first) {
        time = 0;
        player.crazy = false; // the wreck goes up in its sane look
        first = false;
        stop_sample(sweird);
    }
    time += 1;
    if (time < WRECK_TICKS) {
        blow_up_ship(time);
        return STATE_GAME_OVER;
    }

    buffer_textout_centre_ex(font, "Game Over", 320, 200, makecol(255, 255, 255));
    if (key[KEY_ENTER] || key[KEY_ESC]) {
        particles.clear();
        first = true;
        return STATE_MENU;
    }
    return STATE_GAME_OVER;
}
