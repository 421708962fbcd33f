// quit_watch.cpp (Windows): the event the watchdog sleeps on; the C runtime's signals are no threat
// to the library's start, so none are held.
#include "quit_watch.h"
#include "quit_watch_system.h"

#include <windows.h>

// set by the first quit, from whichever thread asks: the library's window thread (the close
// button), the runtime's Ctrl-C thread or the main thread
static HANDLE quit_asked;

void hold_quit_signals(bool) {}

bool ready_the_wake() {
    quit_asked = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return quit_asked != nullptr;
}

void watch_the_start() {}

void library_started() {}

void sleep_until_woken() {
    WaitForSingleObject(quit_asked, INFINITE);
}

void wake_the_watchdog() {
    SetEvent(quit_asked);
}
