#include "fixture.h"

#include "headless.h"
#include "main.h"
#include "media.h"

namespace {

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
        ASSERT_TRUE(start_headless_library());
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
        for (const picture_size &p : STAND_INS)
            destroy_bitmap(*p.slot);
        for (SAMPLE **slot : SOUND_SLOTS)
            destroy_sample(*slot);
        stop_headless_library();
    }
};

::testing::Environment *const headless = ::testing::AddGlobalTestEnvironment(new HeadlessLibrary);

} // namespace

void GameTest::SetUp() {
    reset_game_globals(1);
    opaque_pictures.clear(); // a test's own pictures are gone by now
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

void GameTest::expect_placed(const placed &row) {
    std::vector<drawthing> found;
    for (const drawthing &d : queued(row.type))
        if (d.bmp == row.picture && d.text == row.text)
            found.push_back(d);
    ASSERT_GT(found.size(), size_t(row.nth));
    const drawthing &d = found[row.nth];
    EXPECT_EQ(d.x, row.x);
    EXPECT_EQ(d.y, row.y);
    EXPECT_EQ(d.w, row.w);
    EXPECT_EQ(d.h, row.h);
}
