#include "fixture.h"

#include "headless.h"
#include "main.h"
#include "media.h"

#include <algorithm>

namespace {

// the game's own pictures and sounds, loaded as the benchmarks load them
class HeadlessLibrary : public ::testing::Environment {
  public:
    void SetUp() override {
        ASSERT_TRUE(start_headless_library());
        const char *why = load_media(MEDIA_DIR);
        ASSERT_EQ(why, nullptr) << why;
    }

    void TearDown() override {
        release_media();
        stop_headless_library();
    }
};

::testing::Environment *const headless = ::testing::AddGlobalTestEnvironment(new HeadlessLibrary);

} // namespace

int differing_pixels(BITMAP *a, BITMAP *b) {
    int differ = 0;
    for (int y = 0; y < a->h; y++)
        for (int x = 0; x < a->w; x++)
            differ += getpixel(a, x, y) != getpixel(b, x, y);
    return differ;
}

void GameTest::SetUp() {
    reset_game_globals(1);
    opaque_pictures.clear(); // every picture is drawn masked unless a test notes it
    clear_to_color(back_buffer, makecol(0, 0, 0));
}

bool GameTest::queued_text(const std::string &text) { // only text commands have a text
    return std::any_of(drawqueue.begin(), drawqueue.end(),
                       [&](const drawthing &d) { return d.text == text; });
}
