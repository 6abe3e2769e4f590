#include "screens/Menu.h"

#include <SDL.h>
#include <SDL_image.h>

#include "screens/BlitAt.h"
#include "screens/CloseRequest.h"
#include "screens/DisplayFormat.h"
#include "screens/Layout.h"
#include "screens/MenuItem.h"

namespace {

using layout::Region;

bool holds(const Region& region, int32_t x, int32_t y) {
    return x >= region.left && x <= region.right && y >= region.top && y <= region.bottom;
}

// Both settings step through three levels: easy to hard, depth 3 to 7.
constexpr int32_t LEVEL_MAX = HARD;
constexpr Uint32 STEP_DELAY_MS = 100;
constexpr Uint32 POLL_DELAY_MS = 40;

int32_t itemAt(int32_t x, int32_t y) {
    for (int32_t item = TWO_PLAYERS; item <= EXIT_ITEM; ++item) {
        if (holds(layout::ITEM_REGIONS[item - TWO_PLAYERS], x, y)) {
            return item;
        }
    }
    return NO_ITEM;
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
    selected = NO_ITEM;
    difficulty = FIRST_DIFFICULTY;
    depthIndex = (FIRST_DEPTH - 3) / 2;
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
    selected = NO_ITEM;
    bool done = false;
    // Each arrow steps one setting while the button is held on it.
    struct Arrow {
        layout::Region region;
        int32_t* setting;
        int32_t step;
    };
    const Arrow arrows[] = {
        {layout::DEPTH_DOWN, &depthIndex, -1},
        {layout::DEPTH_UP, &depthIndex, +1},
        {layout::DIFFICULTY_DOWN, &difficulty, -1},
        {layout::DIFFICULTY_UP, &difficulty, +1},
    };
    draw(screen);
    do {
        SDL_PumpEvents();
        showAgainIfExposed();
        const Uint8* keys = SDL_GetKeyState(nullptr);
        int x = 0;
        int y = 0;
        const bool buttonDown = (SDL_GetMouseState(&x, &y) & SDL_BUTTON(SDL_BUTTON_LEFT)) != 0;
        int32_t hovered = itemAt(x, y);

        // The button is read as a level: holding it on an arrow repeats the
        // step after the 100 ms wait plus the poll wait.
        for (const Arrow& arrow : arrows) {
            const int32_t next = *arrow.setting + arrow.step;
            if (buttonDown && holds(arrow.region, x, y) && next >= 0 && next <= LEVEL_MAX) {
                *arrow.setting = next;
                draw(screen);
                SDL_Delay(STEP_DELAY_MS);
            }
        }

        if ((keys != nullptr && keys[SDLK_ESCAPE] != 0) || closeRequested()) {
            done = true;
            hovered = EXIT_ITEM;
        }
        if (hovered != selected) {
            selected = hovered;
            draw(screen);
        }
        if (selected != NO_ITEM && buttonDown) {
            done = true;
        }
        SDL_Delay(POLL_DELAY_MS);
    } while (!done);

    depthOut = 2 * depthIndex + 3;
    difficultyOut = difficulty;
    return selected;
}
