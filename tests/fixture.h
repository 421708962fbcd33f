// fixture.h: what every unit test starts from: the headless library, the game's globals reset.
//
// The game's own pictures and sounds are loaded once for the whole run, so a test can tell by
// pointer which picture was queued.
#pragma once

#include "draw.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

// where a command should stand: the nth queued command of that type, picture and text, counted
// from 0, is at x, y with that width and height (nought for sprites and texts)
struct placed {
    const char *name;
    int type;
    BITMAP *picture;
    std::string text;
    int nth, x, y, w, h;
};

// how many pixels of two pictures of one size differ
int differing_pixels(BITMAP *a, BITMAP *b);

class GameTest : public ::testing::Test {
  protected:
    void SetUp() override;

    static void press(int k) { key[k] = 1; }
    static void release(int k) { key[k] = 0; }

    // the queued commands of one kind, in queue order
    static std::vector<drawthing> queued(int type);
    // the queued sprites (plain or rotated) that show this picture
    static std::vector<drawthing> queued_sprites(BITMAP *picture);
    // whether a text command with exactly this text is queued
    static bool queued_text(const std::string &text);
    // the command the row describes is queued, where the row says
    static void expect_placed(const placed &row);
};
