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

// how many pixels of two pictures of one size differ
int differing_pixels(BITMAP *a, BITMAP *b);

class GameTest : public ::testing::Test {
  protected:
    void SetUp() override;

    static void press(int k) { key[k] = 1; }
    static void release(int k) { key[k] = 0; }

    // the queued sprites (plain or rotated) that show this picture
    static std::vector<drawthing> queued_sprites(BITMAP *picture);
    // whether a text command with exactly this text is queued
    static bool queued_text(const std::string &text);
};
