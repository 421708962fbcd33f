// moonstruck.cpp: the entry point, the program's whole story.
#include "main.h"

int main() {
    highscore = 0;
    if (init_everything() != 0)
        return 1;
    clear_to_color(back_buffer, makecol(0, 0, 0));

    counter = 0;
    short state = STATE_MENU;
    while (true) {
        if (counter > 0) {
            run_pending_ticks(state);
            present_frame();
        }
        while (counter <= 0)
            rest(1);
        if (state == STATE_QUIT)
            break;
    }

    shutdown_everything();
    return 0;
}
END_OF_MAIN()
