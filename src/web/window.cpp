// window.cpp (browser): the page's canvas stands where the page puts it, and a page has no display
// to lose.
#include "window.h"

void prepare_the_window() {}

bool window_centre(int &, int &) {
    return false;
}

void centre_window_at(int, int) {}
