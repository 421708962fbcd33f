// fixture.h: what every unit test starts from: the headless library, the game's globals reset.
//
// The game's own pictures and sounds are loaded once for the whole run, so a test can tell by
// pointer which picture was queued.
#pragma once

#include "draw.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <string>

// how many pixels of two pictures of one size differ
int differing_pixels(BITMAP *a, BITMAP *b);

class GameTest : public ::testing::Test {
  protected:
    void SetUp() override;

    // whether a text command with exactly this text is queued
    static bool queued_text(const std::string &text);
};
