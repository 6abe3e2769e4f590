#pragma once

// Every pixel position of the screens, in window pixels with the top-left
// corner of a picture as its place. support/screen_layout.py reads this file
// for the artwork tool and the end-to-end tests, so keep each value a plain
// literal in the forms used here.

#include <cstdint>

namespace layout {

struct Point {
    int32_t x;
    int32_t y;
};

// An inclusive rectangle of window pixels that answers to the pointer.
struct Region {
    int32_t left;
    int32_t right;
    int32_t top;
    int32_t bottom;
};

constexpr int32_t WINDOW_SIZE = 400;

// The board: cell c (0..7) answers to the pointer on pixels CELL_PITCH * (c + 1)
// to CELL_PITCH * (c + 2) - 1 in either direction, so pixel / CELL_PITCH - 1 is
// the cell and the outer band gives -1 or 8. Its disc, and the highlight, are
// drawn at DISC_ORIGIN + CELL_PITCH * c, one pixel right of and below that square.
constexpr int32_t CELL_PITCH = 40;
constexpr int32_t DISC_ORIGIN = 41;

// The turn or result picture, and the flip label that takes its place during
// the animation.
constexpr Point INDICATOR = {5, 10};
constexpr Point ESC_TEXT = {260, 22};

// The disc pictures beside the counts, and each count's tens digit; the units
// digit follows DIGIT_STEP to the right. Digit d of the strip is the glyph at
// (DIGIT_SLOT * d + GLYPH_LEFT, 0), GLYPH_WIDTH by GLYPH_HEIGHT.
constexpr Point GREEN_DISC = {1, 361};
constexpr Point RED_DISC = {361, 361};
constexpr Point GREEN_COUNT = {41, 371};
constexpr Point RED_COUNT = {342, 371};
constexpr int32_t DIGIT_STEP = 9;
constexpr int32_t DIGIT_SLOT = 10;
constexpr int32_t GLYPH_LEFT = 1;
constexpr int32_t GLYPH_WIDTH = 8;
constexpr int32_t GLYPH_HEIGHT = 21;

// The menu's pictures, and the regions its pointer answers to.
constexpr Point MENU_ITEMS = {115, 150};
constexpr Point MENU_DIFFICULTY = {145, 250};
constexpr Point MENU_DEPTH = {95, 280};

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

}  // namespace layout
