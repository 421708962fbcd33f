// window.cpp (Windows and the browser): the window as the library makes it: on Windows its icon
// comes from the program's resources (moonstruck.rc), in the browser it is the page's canvas;
// where it stands is left to the system or the page, and neither has a display to lose.
#include "window.h"

void prepare_the_window() {}

bool window_centre(int &, int &) {
    return false;
}

void centre_window_at(int, int) {}
