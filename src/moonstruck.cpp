// moonstruck.cpp: the entry point, the program's whole story.
#include "desktop.h"
#include "display.h"
#include "draw.h"
#include "main.h"
#include "quit_watch.h"
#include "window.h"

int main() {
    highscore = 0;
    prepare_the_window();
    if (init_everything() != 0)
        return 1;
    if (start_desktop() != 0) {
        end_within_a_second(1);
        shutdown_everything();
        return 1;
    }
    clear_to_color(back_buffer, black());

    counter = 0;
    short state = STATE_MENU;
    while (true) {
        if (counter > 0) {
            run_pending_ticks(state, desktop_tick);
            present_frame();
        }
        while (counter <= 0)
            rest(1);
        if (state == STATE_QUIT)
            break;
    }

    const int exit_code = display_lost ? 1 : 0;
    end_within_a_second(exit_code);
    stop_desktop();
    shutdown_everything();
    return exit_code;
}
END_OF_MAIN()
