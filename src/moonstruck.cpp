// moonstruck.cpp: the entry point, the program's whole story.
#include "display.h"
#include "draw.h"
#include "main.h"
#include "screens.h"

int main() {
    highscore = 0;
    if (init_everything() != 0)
        return 1;
    clear_to_color(back_buffer, black());

    counter = 0;
    short state = STATE_MENU;
    while (true) {
        if (counter > 0) {
            run_pending_ticks(state, run_state);
            present_frame();
        }
        while (counter <= 0)
            rest(1);
        if (state == STATE_QUIT)
            break;
    }

    shutdown_everything();
    return display_lost ? 1 : 0;
}
END_OF_MAIN()
