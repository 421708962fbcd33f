#include "fixture.h"

#include "enemy.h"
#include "logic.h"
#include "main.h"
#include "particle.h"
#include "player.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

GFX_DRIVER screen_size_only;

struct picture_size {
    BITMAP **slot;
    int w, h;
};

const picture_size STAND_INS[] = {
    {&banana, 20, 20},    {&title, 400, 200},   {&insanity, 60, 10},  {&health, 50, 10},
    {&ship, 25, 25},      {&shot[0], 5, 7},     {&shot[1], 5, 7},     {&enemy1[0], 25, 25},
    {&enemy1[1], 25, 25}, {&eshot1[0], 7, 7},   {&eshot1[1], 7, 7},   {&cow, 32, 24},
    {&targeting, 15, 15}, {&shotplus, 20, 20},  {&shotminus, 20, 20}, {&enemy2[0], 25, 25},
    {&enemy2[1], 25, 25}, {&enemy3[0], 25, 25}, {&enemy3[1], 25, 25},
};

SAMPLE **const SOUND_SLOTS[] = {&sthud,     &sweird, &sboing,     &sfire, &shurt,
                                &sgonenuts, &sow,    &ssmallboom, &smoo,  &scrazylaugh};

class HeadlessLibrary : public ::testing::Environment {
  public:
    void SetUp() override {
        ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, atexit), 0);
        set_color_depth(16);
        screen_size_only.w = SCREEN_WIDTH;
        screen_size_only.h = SCREEN_HEIGHT;
        gfx_driver = &screen_size_only;

        back_buffer = create_bitmap(SCREEN_WIDTH, SCREEN_HEIGHT);
        int shade = 1;
        for (const picture_size &p : STAND_INS) {
            *p.slot = create_bitmap(p.w, p.h);
            clear_to_color(*p.slot, makecol(shade * 12 % 256, 200, 100));
            shade++;
        }
        for (SAMPLE **slot : SOUND_SLOTS)
            *slot = create_sample(16, 0, 22050, 64);
    }

    void TearDown() override {
        gfx_driver = nullptr;
        for (const picture_size &p : STAND_INS)
            destroy_bitmap(*p.slot);
        for (SAMPLE **slot : SOUND_SLOTS)
            destroy_sample(*slot);
        destroy_bitmap(back_buffer);
    }
};

::testing::Environment *const headless = ::testing::AddGlobalTestEnvironment(new HeadlessLibrary);

} // namespace

void GameTest::SetUp() {
    drawqueue.clear();
    particles.clear();
    enemies.clear();
    eshot.clear();
    powerups.clear();
    player.shots.clear();
    player.init(false);
    for (int k = 0; k < KEY_MAX; k++)
        key[k] = 0;
    mouse_x = mouse_y = 0;
    mouse_b = 0;
    score = 0;
    level = 1;
    highscore = 0;
    counter = 0;
    srand(1);
    clear_to_color(back_buffer, makecol(0, 0, 0));
}

std::vector<drawthing> GameTest::queued(int type) {
    std::vector<drawthing> found;
    for (const drawthing &d : drawqueue)
        if (d.type == type)
            found.push_back(d);
    return found;
}

std::vector<drawthing> GameTest::queued_sprites(BITMAP *picture) {
    std::vector<drawthing> found;
    for (const drawthing &d : drawqueue)
        if ((d.type == CMD_SPRITE || d.type == CMD_ROTATE_SPRITE) && d.bmp == picture)
            found.push_back(d);
    return found;
}

bool GameTest::queued_text(const std::string &text) {
    for (const drawthing &d : drawqueue)
        if ((d.type == CMD_TEXTOUT || d.type == CMD_TEXTOUT_CENTRE ||
             d.type == CMD_TEXTOUT_RIGHT) &&
            d.text == text)
            return true;
    return false;
}
