// measures.h: the game's measures, which everything shares: its time, its picture, its angles.
#pragma once

constexpr int TICKS_PER_SECOND = 50;
constexpr int SCREEN_WIDTH = 640;
constexpr int SCREEN_HEIGHT = 480;
constexpr float PI = 3.14159265f;
