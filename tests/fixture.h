// fixture.h: the headless library every unit test runs on, and the reset of the game's globals.
//
// The library runs with no system driver: pictures are memory bitmaps, the keyboard is the
// key[] array written directly, and a stand-in graphics driver reports a 640 by 480 screen so
// that SCREEN_W and SCREEN_H read as they do in play. Every picture and sound is a stand-in of
// the real one's size, so a test can tell by pointer which picture was queued.
#pragma once

#include "draw.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <vector>

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
};
