#include "screens/Menu.h"

#include <SDL.h>
#include <SDL_image.h>

#include "screens/BlitAt.h"
#include "screens/CloseRequest.h"

namespace {

// An inclusive rectangle of window pixels that answers to the pointer.
struct Region {
    int32_t left;
    int32_t right;
    int32_t top;
    int32_t bottom;

    bool holds(int32_t x, int32_t y) const {
        return x >= left && x <= right && y >= top && y <= bottom;
    }
};

// Items 1..4 in the order they are tested: two players, play red, play green, exit.
constexpr Region ITEM_REGIONS[4] = {
    {133, 270, 154, 166},
    {126, 277, 176, 188},
    {116, 287, 198, 210},
    {187, 218, 220, 232},
};
constexpr Region DEPTH_DOWN = {191, 200, 284, 302};
constexpr Region DEPTH_UP = {303, 312, 284, 302};
constexpr Region DIFFICULTY_DOWN = {146, 155, 250, 268};
constexpr Region DIFFICULTY_UP = {258, 267, 250, 268};

constexpr int32_t LEVEL_MAX = 2;
constexpr int ESC_KEY = 27;
constexpr Uint8 LEFT_BUTTON = 1;
constexpr Uint32 STEP_DELAY_MS = 100;
constexpr Uint32 POLL_DELAY_MS = 40;

int32_t itemAt(int32_t x, int32_t y) {
    for (int32_t item = 1; item <= 4; ++item) {
        if (ITEM_REGIONS[item - 1].holds(x, y)) {
            return item;
        }
    }
    return 0;
}

}  // namespace

Menu::Menu() {
    // Loaded as they are, before SDL video is up: nothing converts them to the
    // screen's format.
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
    blitAt(backgroundImage, screen, 0, 0);
    blitAt(itemImages[selected], screen, 115, 150);
    blitAt(difficultyImages[difficulty], screen, 145, 250);
    blitAt(depthImages[depthIndex], screen, 95, 280);
    SDL_Flip(screen);
}

int32_t Menu::run(SDL_Surface* screen, int32_t& depthOut, int32_t& difficultyOut) {
    selected = 0;
    bool done = false;
    draw(screen);
    do {
        SDL_PumpEvents();
        const Uint8* keys = SDL_GetKeyState(nullptr);
        int x = 0;
        int y = 0;
        const bool buttonDown = (SDL_GetMouseState(&x, &y) & LEFT_BUTTON) != 0;
        int32_t hovered = itemAt(x, y);

        // The button is read as a level: holding it on an arrow repeats the
        // step after the 100 ms wait plus the poll wait.
        if (buttonDown && DEPTH_DOWN.holds(x, y) && depthIndex > 0) {
            --depthIndex;
            draw(screen);
            SDL_Delay(STEP_DELAY_MS);
        } else if (buttonDown && DEPTH_UP.holds(x, y) && depthIndex < LEVEL_MAX) {
            ++depthIndex;
            draw(screen);
            SDL_Delay(STEP_DELAY_MS);
        }
        if (buttonDown && DIFFICULTY_DOWN.holds(x, y) && difficulty > 0) {
            --difficulty;
            draw(screen);
            SDL_Delay(STEP_DELAY_MS);
        } else if (buttonDown && DIFFICULTY_UP.holds(x, y) && difficulty < LEVEL_MAX) {
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
