#include "fixture.h"
#include "logic.h"
#include "main.h"
#include "media.h"
#include "particle.h"
#include "player.h"
#include "screens.h"

#include <algorithm>
#include <set>

// the game-over screen keeps its place from test to test: Esc ends it
static void leave_game_over() {
    key[KEY_ESC] = 1;
    for (int t = 0; t < 200 && dead() != STATE_MENU; t++)
        ;
    key[KEY_ESC] = 0;
}

struct TitleMenu : GameTest {
    // the choice the bananas flank in the last picture, or -1
    static int choice_shown() {
        auto b = queued_sprites(banana);
        return b.size() >= 2 && b.end()[-2].y == b.back().y ? (b.back().y - 245) / 30 : -1;
    }

    // the menu keeps its choice from test to test: wait out any key delay, then step down
    // to "One Player Game"
    static void back_to_the_first_choice() {
        for (int t = 0; t < 16; t++)
            menu();
        for (int step = 0; step < 3 && choice_shown() != 0; step++) {
            press(KEY_DOWN);
            menu();
            release(KEY_DOWN);
            for (int t = 0; t < 10; t++) // the key repeat delay
                menu();
        }
    }
};

TEST_F(TitleMenu, HeldArrowMovesTheChoiceEveryEleventhTickAndWrapsAround) {
    back_to_the_first_choice();
    press(KEY_DOWN);
    std::vector<int> shown; // before each tick's keys
    for (int t = 1; t <= 34; t++)
        if (menu(), t % 11 == 1)
            shown.push_back(choice_shown());
    EXPECT_EQ(shown, std::vector<int>({0, 1, 2, 0}));
    release(KEY_DOWN);
    for (int t = 0; t < 11; t++)
        menu();
    press(KEY_UP); // and back up, past the top
    menu(), menu();
    EXPECT_EQ(choice_shown(), 0);
}

// clang-format off
TEST_F(TitleMenu, MenuShowsTheTitleTheChoicesAndTheHighScoreInTheirPlaces) {
    back_to_the_first_choice();
    highscore = 7;
    drawqueue.clear();
    menu();
    const placed rows[] = {
        {.name = "title", .type = CMD_SPRITE, .picture = title, .x = 120, .y = 40},
        {.name = "one player", .type = CMD_TEXTOUT_CENTRE, .text = "One Player Game", .x = 320, .y = 250},
        {.name = "two players", .type = CMD_TEXTOUT_CENTRE, .text = "Two Player Game", .x = 320, .y = 280},
        {.name = "exit", .type = CMD_TEXTOUT_CENTRE, .text = "Exit", .x = 320, .y = 310},
        {.name = "left banana", .type = CMD_ROTATE_SPRITE, .picture = banana, .x = 220, .y = 245},
        {.name = "right banana", .type = CMD_ROTATE_SPRITE, .picture = banana, .nth = 1, .x = 400, .y = 245},
        {.name = "high score", .type = CMD_TEXTOUT_CENTRE, .text = "High Score: 7", .x = 320, .y = 450},
    };
    // clang-format on
    for (const placed &row : rows) {
        SCOPED_TRACE(row.name);
        expect_placed(row);
    }
}

TEST_F(TitleMenu, BananasTurnOneToTenUnitsATickAndStartOverPastAFullTurn) {
    std::set<int> steps;
    int last = 0;
    for (int t = 0; t < 400; t++) {
        drawqueue.clear();
        menu();
        const int angle = queued_sprites(banana).at(0).angle >> 16;
        if (t > 0)
            steps.insert(angle > last ? angle - last : -angle);
        last = angle;
    }
    EXPECT_EQ(steps, std::set<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

// clang-format off
// keys held together on one tick; a new game has score and level reset, the particles cleared
struct choosing { const char *name; int keys[3]; short next; bool two_player; bool new_game; };

TEST_F(TitleMenu, KeysOfOneTickMoveTheChoiceThenEnterTakesIt) {
    const choosing rows[] = {
        {.name = "down, Enter: two players", .keys = {KEY_DOWN, KEY_ENTER}, .next = STATE_PLAYING, .two_player = true,
         .new_game = true},
        {.name = "up, down, Enter: one player", .keys = {KEY_UP, KEY_DOWN, KEY_ENTER}, .next = STATE_PLAYING,
         .new_game = true},
        {.name = "up, Enter: Exit", .keys = {KEY_UP, KEY_ENTER}, .next = STATE_QUIT, .new_game = true},
        {.name = "Esc quits, touching nothing", .keys = {KEY_ESC}, .next = STATE_QUIT},
    };
    // clang-format on
    for (const choosing &row : rows) {
        SCOPED_TRACE(row.name);
        GameTest::SetUp();
        back_to_the_first_choice();
        score = level = 4, highscore = 5;
        player.init(!row.two_player);
        particles.clear(); // the tick lets a star fall, which Enter clears away
        for (int k : row.keys)
            if (k)
                press(k);
        EXPECT_EQ(menu(), row.next);
        EXPECT_EQ(score, row.new_game ? 0 : 4);
        EXPECT_EQ(level, row.new_game ? 1 : 4);
        EXPECT_EQ(particles.size(), row.new_game ? 0u : 1u);
        if (row.next == STATE_PLAYING) {
            EXPECT_EQ(player.two_player, row.two_player);
        }
        EXPECT_EQ(queued_text("High Score: 5"), true);
    }
}

TEST_F(TitleMenu, KeysStillHeldFromAGameAreIgnoredForFifteenTicks) {
    back_to_the_first_choice();
    press(KEY_ENTER);
    EXPECT_EQ(menu(), STATE_PLAYING);
    release(KEY_ENTER);
    press(KEY_ESC);
    std::vector<short> states;
    for (int t = 1; t <= 16; t++)
        states.push_back(menu());
    EXPECT_EQ(states.back(), STATE_QUIT);
    EXPECT_EQ(std::count(states.begin(), states.end(), STATE_MENU), 15);
}

struct GameOver : GameTest {
    void SetUp() override {
        leave_game_over();
        GameTest::SetUp();
    }
    // one tick of the screen on a black picture; the state it asks for next
    static short tick() {
        buffer_clear_to_color(black());
        return dead();
    }
    // the screen has run for a wreck and is waiting for a key
    static void wait_out_the_wreck() {
        for (int t = 1; t < 150; t++)
            tick();
    }
};

TEST_F(GameOver, WreckBurnsFor149TicksInOneExplosionATickOverTheShip) {
    player.crazy = true; // a crazy wreck would burst into bananas
    player.x = player.y = 100;
    std::set<int> across, down; // where the explosions were, from the ship's corner
    for (int t = 1; t < 150; t++) {
        SCOPED_TRACE(t);
        particles.clear(); // so that this tick's explosion stands alone
        EXPECT_EQ(tick(), STATE_GAME_OVER);
        ASSERT_EQ(particles.size(), 1u);
        EXPECT_EQ(particles.front().kind, PARTICLE_EXPLOSION);
        across.insert(int(particles.front().x) - 100), down.insert(int(particles.front().y) - 100);
        EXPECT_EQ(queued_sprites(ship).size(), 1u);
        EXPECT_EQ(queued_text("Game Over"), false);
    }
    EXPECT_EQ(std::pair(*across.begin(), *across.rbegin()), std::pair(0, 19)); // a 20 by 20 corner
    EXPECT_EQ(std::pair(*down.begin(), *down.rbegin()), std::pair(0, 19));
    EXPECT_EQ(tick(), STATE_GAME_OVER);
    ASSERT_EQ(drawqueue.size(), 2u); // alone on the black screen
    EXPECT_EQ(drawqueue[1].text, "Game Over");
    EXPECT_EQ(std::pair(drawqueue[1].x, drawqueue[1].y), (std::pair<int16_t, int16_t>(320, 200)));
}

TEST_F(GameOver, KeyHeldThroughTheWreckLeavesOnTheFirstGameOverTick) {
    press(KEY_ENTER);
    wait_out_the_wreck();
    EXPECT_EQ(tick(), STATE_MENU);
    EXPECT_EQ(particles.size(), 0u);
}
