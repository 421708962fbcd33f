// media.h: the pictures and sounds, loaded once from media/ and kept for the whole run.
#pragma once

#include <allegro.h>

// the pictures; pairs hold the crazy picture at 0 and the sane one at 1
extern BITMAP *banana, *title, *insanity, *health, *ship, *cow, *targeting, *shotplus, *shotminus;
extern BITMAP *shot[2], *enemy1[2], *enemy2[2], *enemy3[2], *eshot1[2];

// the sounds
extern SAMPLE *sthud, *sweird, *sboing, *sfire, *shurt, *sgonenuts, *sow, *ssmallboom, *smoo,
    *scrazylaugh;

// loads every picture and sound from media/ under the working directory; the path of the
// first that won't load, or null
const char *load_media();
// safe on a half-loaded set: whatever failed to load is still null
void release_media();
