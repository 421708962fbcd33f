#include "fixture.h"

#include "logic.h"
#include "main.h"
#include "particle.h"
#include "player.h"

static const drawthing *text_cmd(const std::string &text) {
    for (const drawthing &d : drawqueue)
        if (d.type == CMD_TEXTOUT_CENTRE && d.text == text)
            return &d;
    return nullptr;
}

static void expect_at(const drawthing *d, int x, int y) {
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->x, x);
    EXPECT_EQ(d->y, y);
}

class TitleMenu : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        press(KEY_ESC); // ends any game left running, so the next logic() starts a new one
        logic();
        release(KEY_ESC);
        first_choice();
        GameTest::SetUp();
    }

    // one tick as the main loop runs it, with the picture of that tick only
    static short tick() {
        drawqueue.clear();
        buffer_clear_to_color(makecol(0, 0, 0));
        return menu();
    }

    // the choice the bananas flank in this tick's picture
    static int shown() {
        auto b = queued_sprites(banana);
        bool flanked = b.size() == 2 && b[0].x == 220 && b[1].x == 400 && b[0].y == b[1].y;
        EXPECT_TRUE(flanked);
        return flanked ? (b[0].y - 245) / 30 : -1;
    }

    static void step(int k) {
        press(k);
        tick();
        release(k);
        for (int i = 0; i < 10; i++)
            tick();
    }

    // waits out any key delay, then walks the choice up to "One Player Game"
    static void first_choice() {
        for (int i = 0; i < 16; i++)
            tick();
        while (tick(), shown() > 0)
            step(KEY_UP);
    }
};

TEST_F(TitleMenu, DrawsTitleChoicesBananasHighScoreAndAStarEachTick) {
    highscore = 1234;
    for (unsigned t = 1; t <= 3; t++) {
        tick();
        expect_at(&queued_sprites(title).at(0), 120, 40);
        for (auto [text, y] : {std::pair{"One Player Game", 250},
                               {"Two Player Game", 280},
                               {"Exit", 310},
                               {"High Score: 1234", 450}})
            expect_at(text_cmd(text), 320, y);
        EXPECT_EQ(shown(), 0);
        ASSERT_EQ(particles.size(), t);
        EXPECT_EQ(particles.back().kind, PARTICLE_STAR);
    }
}

TEST_F(TitleMenu, HeldArrowMovesEvery11TicksAndWrapsAround) {
    for (auto [k, dir] : {std::pair{KEY_DOWN, 1}, {KEY_UP, -1}}) {
        first_choice();
        press(k);
        for (int t = 1, moves = 0; t <= 34; t++) {
            tick();
            EXPECT_EQ(shown(), ((moves * dir) % 3 + 3) % 3) << "tick " << t;
            moves += (t - 1) % 11 == 0;
        }
        release(k);
    }
}

TEST_F(TitleMenu, UpAndDownTogetherEndWhereTheyStarted) {
    press(KEY_UP);
    press(KEY_DOWN);
    tick();
    release(KEY_UP);
    for (int t = 2; t <= 12; t++) { // both moves were made: the repeat delay runs
        tick();
        EXPECT_EQ(shown(), 0) << "tick " << t;
    }
    tick();
    EXPECT_EQ(shown(), 1);
}

TEST_F(TitleMenu, EnterTakesTheChoiceAfterThatTicksArrowAndSetsUpAFreshGame) {
    const struct {
        int downs, arrow, take;
        short state;
        bool two_player;
    } cases[] = {{0, 0, KEY_ENTER, STATE_PLAYING, false},
                 {1, 0, KEY_ENTER, STATE_PLAYING, true},
                 {0, KEY_DOWN, KEY_ENTER, STATE_PLAYING, true},
                 {2, 0, KEY_ENTER, STATE_QUIT, false},
                 {0, KEY_UP, KEY_ENTER, STATE_QUIT, false},
                 {1, 0, KEY_ESC, STATE_QUIT, false},
                 {2, 0, KEY_ESC, STATE_QUIT, false}};
    for (const auto &c : cases) {
        first_choice();
        for (int i = 0; i < c.downs; i++)
            step(KEY_DOWN);
        score = 50;
        level = 4;
        player.init(!c.two_player);
        player.crazy = true;
        player.health_points = player.x = 3;
        player.shot_level = 2;
        new_particle(PARTICLE_TEXT, 10, 10, 0, 0, "left over");
        press(c.arrow);
        press(c.take);
        EXPECT_EQ(tick(), c.state) << "case " << (&c - cases);
        bool enter = c.take == KEY_ENTER; // Esc touches nothing
        EXPECT_EQ(score, enter ? 0 : 50);
        EXPECT_EQ(level, enter ? 1 : 4);
        EXPECT_EQ(particles.empty(), enter);
        if (c.state == STATE_PLAYING) {
            EXPECT_EQ(player.two_player, c.two_player);
            EXPECT_FALSE(player.crazy);
            EXPECT_EQ(player.health_points, 100);
            EXPECT_EQ(player.shot_level, 0);
            EXPECT_EQ(player.x, 308);
        }
        GameTest::SetUp();
    }
}

TEST_F(TitleMenu, KeysAreIgnoredFor15TicksAfterAGameStarts) {
    press(KEY_ENTER);
    ASSERT_EQ(tick(), STATE_PLAYING);
    release(KEY_ENTER);
    press(KEY_ESC);
    for (int t = 1; t <= 15; t++)
        EXPECT_EQ(tick(), STATE_MENU) << "tick " << t;
    EXPECT_EQ(tick(), STATE_QUIT);
}

TEST_F(TitleMenu, LoopRunsEachPendingTickInTheStateTheLastTickAskedAndShowsTheLastPicture) {
    const struct {
        int held, pending;
        short state;
        size_t stars;    // the menu lets one star fall a tick
        const char *ran; // C a black clear, T the menu's title, N the game's level countdown
    } passes[] = {{0, 3, STATE_MENU, 3, "CT"},
                  {KEY_ENTER, 2, STATE_PLAYING, 0, "CN"},
                  {KEY_ESC, 3, STATE_QUIT, 0, "C"}};
    for (const auto &p : passes) {
        first_choice();
        press(p.held);
        particles.clear();
        short state = STATE_MENU;
        counter = p.pending;
        run_pending_ticks(state);
        EXPECT_EQ(state, p.state);
        EXPECT_EQ(counter, 0);
        if (p.stars) {
            EXPECT_EQ(particles.size(), p.stars);
        }
        // every tick opens with a clear of the whole picture, so only the last tick's is kept
        std::string ran;
        for (const drawthing &d : drawqueue) {
            if (d.type == CMD_CLEAR_TO_COLOR)
                ran += d.color == makecol(0, 0, 0) ? 'C' : '?';
            if (d.bmp == title)
                ran += 'T';
            if (d.text == "Next Level In 1:11")
                ran += 'N';
        }
        EXPECT_EQ(ran, p.ran);
        press(KEY_ESC);
        logic();
        GameTest::SetUp();
    }
}

class GameOver : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        press(KEY_ENTER); // finishes any game-over screen still showing
        for (int i = 0; i < 151 && dead() != STATE_MENU; i++) {
        }
        GameTest::SetUp();
    }

    // one tick; older particles are marked so that this tick's new ones stand out
    static short tick() {
        for (_particle &p : particles)
            p.text = "old";
        drawqueue.clear();
        buffer_clear_to_color(makecol(0, 0, 0));
        return dead();
    }
};

TEST_F(GameOver, WreckBurnsFor149TicksThenGameOverWaitsForEnterOrEscEachScreenAfresh) {
    // first screen: Enter held all along; second: nothing held, then Esc
    for (bool held : {true, false}) {
        SCOPED_TRACE(held ? "Enter held" : "nothing held");
        key[KEY_ENTER] = held;
        player.crazy = true;
        player.x = 100.7f;
        player.y = 200.2f;
        for (int t = 1; t <= 149; t++) {
            ASSERT_EQ(tick(), STATE_GAME_OVER) << "tick " << t;
            EXPECT_FALSE(player.crazy);
            int fresh = 0;
            for (const _particle &p : particles) {
                if (p.kind == PARTICLE_EXPLOSION && p.text.empty()) {
                    fresh++;
                    EXPECT_TRUE(p.x >= 100 && p.x < 120 && p.y >= 200 && p.y < 220);
                }
            }
            EXPECT_EQ(fresh, 1);
            expect_at(&queued_sprites(ship).at(0), 100, 200);
            EXPECT_EQ(text_cmd("Game Over"), nullptr);
        }
        size_t left = particles.size();
        for (int t = 150; !held && t <= 160; t++) {
            EXPECT_EQ(tick(), STATE_GAME_OVER);
            expect_at(text_cmd("Game Over"), 320, 200);
            EXPECT_EQ(drawqueue.size(), 2u); // the clear and the text: no ship, no particles
            EXPECT_EQ(particles.size(), left);
        }
        key[KEY_ESC] = !held;
        EXPECT_EQ(tick(), STATE_MENU);
        expect_at(text_cmd("Game Over"), 320, 200);
        EXPECT_TRUE(particles.empty());
    }
}
