#pragma once

#include <cstdint>

#include "rules/CellValues.h"

struct SDL_Surface;

// The position, its disc counts (true only right after recount), the snapshot
// the flip animation compares against, and the pictures the board is drawn with.
// Copies carry the cells only: they never load or free a picture.
class Board {
  public:
    Board();
    Board(const Board& source);
    Board& operator=(const Board&) = delete;
    ~Board();

    static bool isInside(int32_t x, int32_t y) { return x >= 0 && x <= 7 && y >= 0 && y <= 7; }

    int32_t getCell(int32_t x, int32_t y) const { return isInside(x, y) ? cells[x][y] : EMPTY; }
    void setCell(int32_t x, int32_t y, int32_t value) {
        if (isInside(x, y)) {
            cells[x][y] = value;
        }
    }

    // The cells holding `value`, as a bit set: bit 8·x + y for cell (x, y).
    uint64_t discsOf(int32_t value) const;

    void recount();
    // RED or GREEN, whichever has more discs; NO_SIDE for equal counts.
    int32_t winner() const;
    int32_t redCount() const { return numRed; }
    int32_t greenCount() const { return numGreen; }
    void saveSnapshot();
    int32_t getPreviousCell(int32_t x, int32_t y) const {
        return isInside(x, y) ? previousCells[x][y] : EMPTY;
    }

    // Disc picture i (0 = red, 9 = green, 1..8 the stages between); may be null.
    SDL_Surface* frame(int32_t i) const { return frames[i]; }

    // Drawing lives with the screens (BoardDrawing.cpp). convertPictures puts
    // the pictures in the display's format once the video mode is set.
    void convertPictures();
    void draw(SDL_Surface* screen);
    void animateFlips(SDL_Surface* screen);

  private:
    SDL_Surface* frames[10];
    SDL_Surface* boardImage;
    SDL_Surface* flipImage;
    int32_t numRed = 0;
    int32_t numGreen = 0;
    int32_t cells[8][8];
    int32_t previousCells[8][8] = {};

    // The move generator reads whole columns straight from the grid.
    friend class MoveList;
};
