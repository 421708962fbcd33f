// screens.h: the game's screens, one tick at a time: the title menu and the game-over screen
// here, the playing state in logic.
#pragma once

// one tick of the screen the state names; the state of the next tick
short run_state(short state);

short menu();
short dead();
