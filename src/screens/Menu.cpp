#include "screens/Menu.h"

#include <SDL.h>
#include <SDL_image.h>

#include "screens/BlitAt.h"
#include "screens/CloseRequest.h"
#include "screens/DisplayFormat.h"
#include "screens/Layout.h"

namespace {

using layout::Region;

bool holds(const Region& region, int32_t x, int32_t y) {
    return x >= region.left && x <= region.right && y >= region.top && y <= region.bottom;
}

constexpr int32_t LEVEL_MAX = 2;
constexpr int ESC_KEY = 27;
constexpr Uint8 LEFT_BUTTON = 1;
constexpr Uint32 STEP_DELAY_MS = 100;
constexpr Uint32 POLL_DELAY_MS = 40;

int32_t itemAt(int32_t x, int32_t y) {
    for (int32_t item = 1; item <= 4; ++item) {
        if (holds(layout::ITEM_REGIONS[item - 1], x, y)) {
            return item;
        }
    }
    return 0;
}

}  // namespace

Menu::Menu() {
    // Loaded before SDL video is up: they go to the screen's format when they
    // are first shown.
    itemImages[0] = IMG_Load("data/menu/none.png");
    itemImages[1] = IMG_Load("data/menu/twoplayers.png");
    itemImages[2] = IMG_Load("data/menu/sred.png");
    itemImages[3] = IMG_Load("data/menu/sgreen.png");
    itemImages[4] = IMG_Load("data/menu/exit.png");
    depthImages[0] = IMG_Load("data/menu/depth3.png");
    depthImages[1] = IMG_Load("data/menu/depth5.png");
    depthImages[2] = IMG_Load("data/menu/depth7.png");
    difficultyImages[0] = IMG_Load("data/menu/dif_easy.png");
    difficultyImages[1] = IMG_Load("data/menu/dif_normal.png");
    difficultyImages[2] = IMG_Load("data/menu/dif_hard.png");
    backgroundImage = IMG_Load("data/menu/fundo.png");
    selected = 0;
    difficulty = 1;
    depthIndex = 1;
}

Menu::~Menu() {
    // SDL_FreeSurface ignores a picture that never loaded.
    for (SDL_Surface* picture : itemImages) {
        SDL_FreeSurface(picture);
    }
    for (SDL_Surface* picture : depthImages) {
        SDL_FreeSurface(picture);
    }
    for (SDL_Surface* picture : difficultyImages) {
        SDL_FreeSurface(picture);
    }
    SDL_FreeSurface(backgroundImage);
}

void Menu::draw(SDL_Surface* screen) {
    if (!picturesConverted && SDL_GetVideoSurface() != nullptr) {
        for (SDL_Surface*& picture : itemImages) {
            toDisplayFormat(picture);
        }
        for (SDL_Surface*& picture : depthImages) {
            toDisplayFormat(picture);
        }
        for (SDL_Surface*& picture : difficultyImages) {
            toDisplayFormat(picture);
        }
        toDisplayFormat(backgroundImage);
        picturesConverted = true;
    }
    blitAt(backgroundImage, screen, 0, 0);
    blitAt(itemImages[selected], screen, layout::MENU_ITEMS.x, layout::MENU_ITEMS.y);
    blitAt(difficultyImages[difficulty], screen, layout::MENU_DIFFICULTY.x,
           layout::MENU_DIFFICULTY.y);
    blitAt(depthImages[depthIndex], screen, layout::MENU_DEPTH.x, layout::MENU_DEPTH.y);
    SDL_Flip(screen);
}

int32_t Menu::run(SDL_Surface* screen, int32_t& depthOut, int32_t& difficultyOut) {
    selected = 0;
    bool done = false;
    draw(screen);
    do {
        SDL_PumpEvents();
        showAgainIfExposed();
        const Uint8* keys = SDL_GetKeyState(nullptr);
        int x = 0;
        int y = 0;
        const bool buttonDown = (SDL_GetMouseState(&x, &y) & LEFT_BUTTON) != 0;
        int32_t hovered = itemAt(x, y);

        // The button is read as a level: holding it on an arrow repeats the
        // step after the 100 ms wait plus the poll wait.
        if (buttonDown && holds(layout::DEPTH_DOWN, x, y) && depthIndex > 0) {
            --depthIndex;
            draw(screen);
            SDL_Delay(STEP_DELAY_MS);
        } else if (buttonDown && holds(layout::DEPTH_UP, x, y) && depthIndex < LEVEL_MAX) {
            ++depthIndex;
            draw(screen);
            SDL_Delay(STEP_DELAY_MS);
        }
        if (buttonDown && holds(layout::DIFFICULTY_DOWN, x, y) && difficulty > 0) {
            --difficulty;
            draw(screen);
            SDL_Delay(STEP_DELAY_MS);
        } else if (buttonDown && holds(layout::DIFFICULTY_UP, x, y) && difficulty < LEVEL_MAX) {
            ++difficulty;
            draw(screen);
            SDL_Delay(STEP_DELAY_MS);
        }

        if ((keys != nullptr && keys[ESC_KEY] != 0) || closeRequested()) {
            done = true;
            hovered = 4;
        }
        if (hovered != selected) {
            selected = hovered;
            draw(screen);
        }
        if (selected != 0 && buttonDown) {
            done = true;
        }
        SDL_Delay(POLL_DELAY_MS);
    } while (!done);

    depthOut = 2 * depthIndex + 3;
    difficultyOut = difficulty;
    return selected;
}
