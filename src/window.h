// window.h: the window as the window system sees it: class, icon, lost display, place on screen.
#pragma once

// the window's name, class and icon, and a lost display ending the game: before the library starts
void prepare_the_window();
// the window's centre on the desktop, in screen pixels; false where it can't be told
bool window_centre(int &x, int &y);
// moves the window so that its centre is there, as far as the desktop has room
void centre_window_at(int x, int y);
