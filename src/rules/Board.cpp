#include "rules/Board.h"

#include <SDL_image.h>

#include <cstdio>
#include <cstring>

Board::Board() {
    boardImage = IMG_Load("data/game/tabuleiro.png");
    flipImage = IMG_Load("data/game/flip.png");
    for (int i = 1; i <= 10; ++i) {
        char path[32];
        std::snprintf(path, sizeof path, "data/bolinha/%d.png", i);
        frames[i - 1] = IMG_Load(path);
    }
    for (auto& column : cells) {
        for (int32_t& cell : column) {
            cell = EMPTY;
        }
    }
    cells[3][3] = GREEN;
    cells[3][4] = RED;
    cells[4][3] = RED;
    cells[4][4] = GREEN;
}

Board::Board(const Board& source) : boardImage(nullptr), flipImage(nullptr) {
    std::memcpy(cells, source.cells, sizeof cells);
    for (SDL_Surface*& frame : frames) {
        frame = nullptr;
    }
}

Board::~Board() {
    if (boardImage != nullptr) {
        SDL_FreeSurface(boardImage);
    }
    if (flipImage != nullptr) {
        SDL_FreeSurface(flipImage);
    }
    for (SDL_Surface* frame : frames) {
        if (frame != nullptr) {
            SDL_FreeSurface(frame);
        }
    }
}

void Board::recount() {
    numRed = 0;
    numGreen = 0;
    for (const auto& column : cells) {
        for (int32_t cell : column) {
            if (cell == RED) {
                ++numRed;
            } else if (cell == GREEN) {
                ++numGreen;
            }
        }
    }
}

void Board::saveSnapshot() {
    std::memcpy(previousCells, cells, sizeof cells);
}
