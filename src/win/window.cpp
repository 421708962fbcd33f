// window.cpp (Windows): the library's window as it makes it: its icon comes from the program's
// resources (allegro_icon, in moonstruck.rc), and where it stands is left to the system.
#include "window.h"

void prepare_the_window() {}

bool window_centre(int &, int &) {
    return false;
}

void centre_window_at(int, int) {}
