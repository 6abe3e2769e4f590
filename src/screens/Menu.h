#pragma once

#include <cstdint>

#include "rules/Difficulty.h"

struct SDL_Surface;

// The start screen: four items, the difficulty and depth arrows, ESC (or the
// window's close button) to leave. Its pictures load before SDL is initialised.
class Menu {
  public:
    // The settings a new menu shows.
    static constexpr int32_t FIRST_DIFFICULTY = NORMAL;
    static constexpr int32_t FIRST_DEPTH = 5;

    Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;
    ~Menu();

    void draw(SDL_Surface* screen);
    // Returns the chosen item (TWO_PLAYERS..EXIT_ITEM, screens/MenuItem.h);
    // writes depth (3, 5, 7) and difficulty (EASY..HARD, rules/Difficulty.h).
    int32_t run(SDL_Surface* screen, int32_t& depthOut, int32_t& difficultyOut);

  private:
    int32_t selected;
    int32_t difficulty;
    int32_t depthIndex;
    SDL_Surface* itemImages[5];
    SDL_Surface* depthImages[3];
    SDL_Surface* difficultyImages[3];
    SDL_Surface* backgroundImage;
    bool picturesConverted = false;
};
