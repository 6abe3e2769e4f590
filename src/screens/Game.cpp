#include "screens/Game.h"

#include <SDL.h>
#include <SDL_image.h>
#include <time.h>

#include "ai/ComputerPlayer.h"
#include "screens/BlitAt.h"
#include "screens/CloseRequest.h"

namespace {

constexpr const char* VALUES_PATH = "data/ia/board8x8Values2.brd";

constexpr Uint32 START_WAIT_MS = 100;
constexpr Uint32 AFTER_MOVE_WAIT_MS = 200;
constexpr Uint32 END_WAIT_MS = 50;

// ESC, or the window's close button, which ends the game the same way.
bool escapeDown() {
    SDL_PumpEvents();
    const Uint8* keys = SDL_GetKeyState(nullptr);
    return keys[SDLK_ESCAPE] != 0 || closeRequested();
}

// Pointer pixel to cell: 40..79 is cell 0, 320..359 cell 7; the outer band
// gives -1 or 8, both off the board.
int32_t cellOf(int pixel) {
    return pixel / 40 - 1;
}

int32_t cellLeft(int32_t cell) {
    return 40 * cell + 41;
}

}  // namespace

Game::Game(int32_t mode, int32_t depth, int32_t difficulty) : mode(mode) {
    highlightImage = IMG_Load("data/game/botaoreversiazul.png");
    redTurnImage = IMG_Load("data/game/redturn.png");
    greenTurnImage = IMG_Load("data/game/greenturn.png");
    numbersImage = IMG_Load("data/game/numbers.png");
    redWinImage = IMG_Load("data/game/redwin.png");
    greenWinImage = IMG_Load("data/game/greenwin.png");
    nobodyWinImage = IMG_Load("data/game/nobodywin.png");
    escTextImage = IMG_Load("data/game/esctext.png");
    if (mode == 2) {
        computer = new ComputerPlayer(VALUES_PATH, depth, difficulty, GREEN);
    } else if (mode == 3) {
        computer = new ComputerPlayer(VALUES_PATH, depth, difficulty, RED);
    }
}

Game::~Game() {
    SDL_Surface* loaded[] = {highlightImage, redTurnImage,  greenTurnImage, numbersImage,
                             redWinImage,    greenWinImage, nobodyWinImage, escTextImage};
    for (SDL_Surface* picture : loaded) {
        if (picture != nullptr) {
            SDL_FreeSurface(picture);
        }
    }
    delete computer;
    // board goes last, with the members.
}

void Game::switchTurn() {
    turn = opponentOf(turn);
}

void Game::run(SDL_Surface* screen) {
    turn = RED;
    SDL_Delay(START_WAIT_MS);
    bool quit = escapeDown();
    MoveList* moves = new MoveList(turn, &board);
    // The first frame goes out at once.
    lastFlipTicks = SDL_GetTicks() - FRAME_INTERVAL_MS;

    while (!quit) {
        bool moved = false;
        int px = 0;
        int py = 0;
        const uint8_t buttons = SDL_GetMouseState(&px, &py);
        cursorX = cellOf(px);
        cursorY = cellOf(py);

        const bool personToMove =
            mode == 1 || (mode == 2 && turn == RED) || (mode == 3 && turn == GREEN);
        if (personToMove) {
            board.saveSnapshot();
            moved = tryHumanMove(moves, buttons);
        } else if (turn != 0 && computer != nullptr) {
            board.saveSnapshot();
            cursorX = -1;
            cursorY = -1;
            moved = computer->play(moves) != 0;
        }

        if (moved) {
            cursorX = -1;
            cursorY = -1;
            board.animateFlips(screen);
            switchTurn();
            delete moves;
            moves = new MoveList(turn, &board);
            if (moves->isEmpty()) {
                // The other side cannot move: the side that just moved goes again.
                switchTurn();
                delete moves;
                moves = new MoveList(turn, &board);
                if (moves->isEmpty()) {
                    turn = 0;
                    cursorX = -1;
                    cursorY = -1;
                    drawFrame(screen);
                }
            }
            SDL_Delay(AFTER_MOVE_WAIT_MS);
        }

        drawFrame(screen);
        quit = escapeDown();
    }

    delete moves;
    SDL_Delay(END_WAIT_MS);
}

bool Game::tryHumanMove(MoveList* moves, uint8_t buttons) {
    if (!Board::isInside(cursorX, cursorY)) {
        return false;
    }
    if (!moves->hasMove(cursorX, cursorY)) {
        cursorX = -1;
        cursorY = -1;
        return false;
    }
    // The button is read as a level: the animation, the wait after the move and
    // the cell no longer being free keep one click from playing twice.
    if ((buttons & SDL_BUTTON(SDL_BUTTON_LEFT)) != 0) {
        moves->apply(cursorX, cursorY);
        return true;
    }
    return false;
}

void Game::drawFrame(SDL_Surface* screen) {
    board.draw(screen);
    if (Board::isInside(cursorX, cursorY)) {
        blitAt(highlightImage, screen, cellLeft(cursorX), cellLeft(cursorY));
    }
    board.recount();

    SDL_Surface* indicator;
    if (turn == RED) {
        indicator = redTurnImage;
    } else if (turn == GREEN) {
        indicator = greenTurnImage;
    } else if (board.redCount() > board.greenCount()) {
        indicator = redWinImage;
    } else if (board.redCount() < board.greenCount()) {
        indicator = greenWinImage;
    } else {
        indicator = nobodyWinImage;
    }
    blitAt(indicator, screen, 5, 10);
    blitAt(escTextImage, screen, 260, 22);

    blitAt(board.frame(9), screen, 1, 361);
    drawCount(screen, board.greenCount(), 41, 371);
    blitAt(board.frame(0), screen, 361, 361);
    drawCount(screen, board.redCount(), 342, 371);

    flipPaced(screen);
}

// Two digits from the strip, tens first; digit d is the 8x21 glyph at 10*d + 1.
void Game::drawCount(SDL_Surface* screen, int32_t count, int32_t left, int32_t top) {
    const int32_t digits[2] = {count / 10, count % 10};
    for (int32_t i = 0; i < 2; ++i) {
        SDL_Rect glyph;
        glyph.x = static_cast<Sint16>(10 * digits[i] + 1);
        glyph.y = 0;
        glyph.w = 8;
        glyph.h = 21;
        SDL_Rect where;
        where.x = static_cast<Sint16>(left + 9 * i);
        where.y = static_cast<Sint16>(top);
        where.w = 0;
        where.h = 0;
        SDL_BlitSurface(numbersImage, &glyph, screen, &where);
    }
}

// SDL_Flip does not wait for the display here, and the loop redraws on every
// iteration; sleep out the rest of the frame interval first. This is a plain
// sleep rather than SDL_Delay so that the loop's own waits stay exactly what
// they are.
void Game::flipPaced(SDL_Surface* screen) {
    const uint32_t since = SDL_GetTicks() - lastFlipTicks;
    if (since < FRAME_INTERVAL_MS) {
        timespec rest;
        rest.tv_sec = 0;
        rest.tv_nsec = static_cast<long>(FRAME_INTERVAL_MS - since) * 1000000L;
        nanosleep(&rest, nullptr);
    }
    lastFlipTicks = SDL_GetTicks();
    SDL_Flip(screen);
}
