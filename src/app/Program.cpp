#include "app/Program.h"

#include <SDL.h>

#include "screens/Game.h"
#include "screens/Menu.h"
#include "screens/MenuItem.h"

namespace {
constexpr Uint32 PAUSE_BEFORE_MENU_MS = 100;
}  // namespace

int32_t runProgram(int argc, char** argv) {
    (void)argc;
    (void)argv;

    // The menu's pictures load before SDL starts; it keeps its difficulty and
    // depth from one game to the next.
    Menu menu;
    SDL_Surface* screen = nullptr;
    if (setUpDisplay(&screen)) {
        int32_t depth = Menu::FIRST_DEPTH;
        int32_t difficulty = Menu::FIRST_DIFFICULTY;
        int32_t choice = menu.run(screen, depth, difficulty);
        while (choice != EXIT_ITEM) {
            // Each game lives on while the next menu is shown and goes only
            // once that menu has returned.
            Game game(choice, depth, difficulty);
            game.run(screen);
            SDL_Delay(PAUSE_BEFORE_MENU_MS);
            choice = menu.run(screen, depth, difficulty);
        }
    }
    return 1;
}
