#include "screens/Game.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstring>

#include "ai/ComputerPlayer.h"
#include "screens/BlitAt.h"
#include "screens/CloseRequest.h"
#include "screens/DisplayFormat.h"
#include "screens/Layout.h"
#include "screens/MenuItem.h"

namespace {

constexpr Uint32 START_WAIT_MS = 100;
constexpr Uint32 AFTER_MOVE_WAIT_MS = 200;
constexpr Uint32 END_WAIT_MS = 50;

// ESC, or the window's close button, which ends the game the same way.
bool escapeDown() {
    SDL_PumpEvents();
    showAgainIfExposed();
    const Uint8* keys = SDL_GetKeyState(nullptr);
    return keys[SDLK_ESCAPE] != 0 || closeRequested();
}

// The computer's search calls this every ComputerPlayer::POLL_INTERVAL
// nodes, so the window is repainted when it is uncovered; ESC gives the
// search up, and `escaped` tells the turn loop so.
bool escapeDuringSearch(void* escaped) {
    *static_cast<bool*>(escaped) = escapeDown();
    return *static_cast<bool*>(escaped);
}

// Pointer pixel to cell: 40..79 is cell 0, 320..359 cell 7; the outer band
// gives -1 or 8, both off the board.
int32_t cellOf(int pixel) {
    return pixel / layout::CELL_PITCH - 1;
}

int32_t cellLeft(int32_t cell) {
    return layout::DISC_ORIGIN + layout::CELL_PITCH * cell;
}

SDL_Surface* load(const char* path) {
    SDL_Surface* picture = IMG_Load(path);
    toDisplayFormat(picture);
    return picture;
}

}  // namespace

Game::Game(int32_t mode, int32_t depth, int32_t difficulty) : mode(mode) {
    board.convertPictures();
    highlightImage = load("data/game/botaoreversiazul.png");
    redTurnImage = load("data/game/redturn.png");
    greenTurnImage = load("data/game/greenturn.png");
    numbersImage = load("data/game/numbers.png");
    redWinImage = load("data/game/redwin.png");
    greenWinImage = load("data/game/greenwin.png");
    nobodyWinImage = load("data/game/nobodywin.png");
    escTextImage = load("data/game/esctext.png");
    if (mode == PLAY_RED) {
        computer = new ComputerPlayer(PositionValues::SHIPPED_TABLE, depth, difficulty, GREEN);
    } else if (mode == PLAY_GREEN) {
        computer = new ComputerPlayer(PositionValues::SHIPPED_TABLE, depth, difficulty, RED);
    }
    if (computer != nullptr) {
        computer->setPoll(escapeDuringSearch, &escapedInSearch);
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
    // The first iteration does not wait.
    lastPaceTicks = SDL_GetTicks() - FRAME_INTERVAL_MS;
    frameOnScreen = false;

    while (!quit) {
        bool moved = false;
        int px = 0;
        int py = 0;
        const uint8_t buttons = SDL_GetMouseState(&px, &py);
        cursorX = cellOf(px);
        cursorY = cellOf(py);

        const bool personToMove = mode == TWO_PLAYERS || (mode == PLAY_RED && turn == RED) ||
                                  (mode == PLAY_GREEN && turn == GREEN);
        if (personToMove) {
            board.saveSnapshot();
            moved = tryHumanMove(moves, buttons);
        } else if (turn != NO_SIDE && computer != nullptr) {
            board.saveSnapshot();
            cursorX = -1;
            cursorY = -1;
            escapedInSearch = false;
            moved = computer->play(moves) != 0;
            if (escapedInSearch) {
                // ESC during the search: nothing was played, and the game
                // ends as it does on ESC at the end of an iteration.
                break;
            }
        }

        if (moved) {
            cursorX = -1;
            cursorY = -1;
            board.animateFlips(screen);
            frameOnScreen = false;
            switchTurn();
            turn = MoveList::sideToMove(board, turn);
            delete moves;
            // Once the game is over, either side's list is empty.
            moves = new MoveList(turn == NO_SIDE ? RED : turn, &board);
            if (turn == NO_SIDE) {
                drawFrame(screen);
            }
            SDL_Delay(AFTER_MOVE_WAIT_MS);
        }

        pace();
        const Shown now = whatToShow();
        if (!frameOnScreen || std::memcmp(&now, &shown, sizeof now) != 0) {
            drawFrame(screen);
        }
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
    } else {
        const int32_t winner = board.winner();
        indicator = winner == RED ? redWinImage : winner == GREEN ? greenWinImage : nobodyWinImage;
    }
    blitAt(indicator, screen, layout::INDICATOR.x, layout::INDICATOR.y);
    blitAt(escTextImage, screen, layout::ESC_TEXT.x, layout::ESC_TEXT.y);

    blitAt(board.frame(9), screen, layout::GREEN_DISC.x, layout::GREEN_DISC.y);
    drawCount(screen, board.greenCount(), layout::GREEN_COUNT.x, layout::GREEN_COUNT.y);
    blitAt(board.frame(0), screen, layout::RED_DISC.x, layout::RED_DISC.y);
    drawCount(screen, board.redCount(), layout::RED_COUNT.x, layout::RED_COUNT.y);

    SDL_Flip(screen);
    shown = whatToShow();
    frameOnScreen = true;
}

// Two digits from the strip, tens first.
void Game::drawCount(SDL_Surface* screen, int32_t count, int32_t left, int32_t top) {
    const int32_t digits[2] = {count / 10, count % 10};
    for (int32_t i = 0; i < 2; ++i) {
        SDL_Rect glyph;
        glyph.x = static_cast<Sint16>(layout::DIGIT_SLOT * digits[i] + layout::GLYPH_LEFT);
        glyph.y = 0;
        glyph.w = layout::GLYPH_WIDTH;
        glyph.h = layout::GLYPH_HEIGHT;
        SDL_Rect where;
        where.x = static_cast<Sint16>(left + layout::DIGIT_STEP * i);
        where.y = static_cast<Sint16>(top);
        where.w = 0;
        where.h = 0;
        SDL_BlitSurface(numbersImage, &glyph, screen, &where);
    }
}

Game::Shown Game::whatToShow() const {
    Shown now;
    for (int32_t x = 0; x < 8; ++x) {
        for (int32_t y = 0; y < 8; ++y) {
            now.cells[x][y] = board.getCell(x, y);
        }
    }
    const bool highlighted = Board::isInside(cursorX, cursorY);
    now.highlightX = highlighted ? cursorX : -1;
    now.highlightY = highlighted ? cursorY : -1;
    now.turn = turn;
    return now;
}

// Sleeps out the rest of the iteration's interval. SDL_Flip does not wait for
// the display here, and most iterations draw nothing at all, so without this
// the loop would spin a whole core polling.
void Game::pace() {
    const uint32_t since = SDL_GetTicks() - lastPaceTicks;
    if (since < FRAME_INTERVAL_MS) {
        SDL_Delay(FRAME_INTERVAL_MS - since);
    }
    lastPaceTicks = SDL_GetTicks();
}
