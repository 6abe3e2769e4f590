#pragma once

#include <cstdint>

#include "rules/Board.h"
#include "rules/MoveList.h"

struct SDL_Surface;
class ComputerPlayer;

// One game on the 400x400 screen: the board, the side to move, the cell under
// the pointer and, against the computer, its player. The turn loop polls the
// mouse and the ESC key; ESC (or the window's close button) is the only way out.
class Game {
  public:
    // mode: TWO_PLAYERS, PLAY_RED or PLAY_GREEN (screens/MenuItem.h); depth
    // and difficulty only matter against the computer.
    Game(int32_t mode, int32_t depth, int32_t difficulty);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;
    ~Game();

    void run(SDL_Surface* screen);
    void drawFrame(SDL_Surface* screen);
    bool tryHumanMove(MoveList* moves, uint8_t buttons);
    void switchTurn();

    // An iteration of the turn loop takes at least this long, so a game that
    // waits for a person polls at most about 60 times a second.
    static constexpr uint32_t FRAME_INTERVAL_MS = 17;

  private:
    // Everything a game frame shows (the counts and the result follow from
    // the cells): an iteration that would show the same again draws nothing.
    struct Shown {
        int32_t cells[8][8];
        int32_t highlightX;
        int32_t highlightY;
        int32_t turn;
    };

    void drawCount(SDL_Surface* screen, int32_t count, int32_t left, int32_t top);
    void pace();
    Shown whatToShow() const;

    SDL_Surface* highlightImage = nullptr;
    SDL_Surface* redTurnImage = nullptr;
    SDL_Surface* greenTurnImage = nullptr;
    SDL_Surface* greenWinImage = nullptr;
    SDL_Surface* redWinImage = nullptr;
    SDL_Surface* nobodyWinImage = nullptr;
    SDL_Surface* numbersImage = nullptr;
    SDL_Surface* escTextImage = nullptr;
    Board board;
    int32_t mode;
    int32_t cursorX = -1;
    int32_t cursorY = -1;
    int32_t turn = RED;
    ComputerPlayer* computer = nullptr;
    bool escapedInSearch = false;
    uint32_t lastPaceTicks = 0;
    // What the screen holds, while it holds a game frame (not after an animation).
    Shown shown = {};
    bool frameOnScreen = false;
};
