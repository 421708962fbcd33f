// window.cpp (X11): the window's name, class and icon, the display going away, and the window's
// place on the desktop, told and set through the library's own connection to the X server.
#include "window.h"

#include <allegro.h>
#include <xalleg.h>
// the library's lock on its X connection, XLOCK and XUNLOCK
#include <allegro/platform/aintunix.h>

#include <algorithm>
#include <csignal>
#include <unistd.h>

#include "window_icon.xpm"

extern void *allegro_icon; // the library's X11 driver puts this picture on its window

// the display is gone: say so and end here, on whichever thread found out, without the library's
// exit-time shutdown, which would unload its drivers under the main thread
static int display_gone(Display *) {
    static const char line[] = "Lost the connection to the display\n";
    ssize_t written = write(STDERR_FILENO, line, sizeof line - 1);
    (void)written;
    _exit(1);
}

void prepare_the_window() {
    // the library reads both when it makes its window, inside allegro_init
    xwin_set_window_name("moonstruck", "moonstruck");
    allegro_icon = window_icon_xpm;
    XSetIOErrorHandler(display_gone);
    // a write to a closed display then fails, and reaches display_gone, instead of killing us
    signal(SIGPIPE, SIG_IGN);
}

bool window_centre(int &x, int &y) {
    if (!_xwin.display || _xwin.wm_window == None)
        return false;
    XLOCK();
    XWindowAttributes at;
    Window child;
    bool known = XGetWindowAttributes(_xwin.display, _xwin.wm_window, &at) &&
                 XTranslateCoordinates(_xwin.display, _xwin.wm_window, at.root, at.width / 2,
                                       at.height / 2, &x, &y, &child);
    XUNLOCK();
    return known;
}

void centre_window_at(int x, int y) {
    if (!_xwin.display || _xwin.wm_window == None)
        return;
    XLOCK();
    XWindowAttributes at, root;
    if (XGetWindowAttributes(_xwin.display, _xwin.wm_window, &at) &&
        XGetWindowAttributes(_xwin.display, at.root, &root)) {
        const int left = std::clamp(x - at.width / 2, 0, std::max(0, root.width - at.width));
        const int top = std::clamp(y - at.height / 2, 0, std::max(0, root.height - at.height));
        // a window manager is to place the window itself there, not its frame
        if (XSizeHints *hints = XAllocSizeHints()) {
            long given = 0;
            XGetWMNormalHints(_xwin.display, _xwin.wm_window, hints, &given);
            hints->flags |= PWinGravity;
            hints->win_gravity = StaticGravity;
            XSetWMNormalHints(_xwin.display, _xwin.wm_window, hints);
            XFree(hints);
        }
        XMoveWindow(_xwin.display, _xwin.wm_window, left, top);
        XFlush(_xwin.display);
    }
    XUNLOCK();
}
