// Renders the game's screens to BMP files so that anyone can look at them
// without playing: the menu with each item highlighted, a game in progress,
// a frame from the middle of a flip, and each end-of-game picture.
//
//   SDL_VIDEODRIVER=dummy ./vantrixo_screenshots <output directory>
//
// It runs from the build directory (beside the data link). The pointer, the
// waits and the flips are replaced at link time, so the menu is driven by a
// scripted pointer and nothing waits; the screens' own code draws every frame.

#include <SDL.h>
#include <SDL_image.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>
#include <string>

#include "rules/Board.h"
#include "rules/MoveList.h"
#include "screens/Menu.h"

extern "C" int __real_SDL_Flip(SDL_Surface* screen);

namespace {

struct Pointer {
    int x;
    int y;
    bool button;
};

// The tool's scripted pointer: each poll takes the next entry, the last one stays.
std::deque<Pointer>& pointerScript() {
    static std::deque<Pointer> script;
    return script;
}

// Flip number (counted from 1) to save, and where to.
struct FlipCapture {
    int flips = 0;
    int saveAt = 0;
    std::string path;
};

FlipCapture& capture() {
    static FlipCapture c;
    return c;
}

bool failed = false;

void save(SDL_Surface* screen, const std::string& path) {
    if (SDL_SaveBMP(screen, path.c_str()) != 0) {
        std::fprintf(stderr, "Cannot write %s: %s\n", path.c_str(), SDL_GetError());
        failed = true;
    }
}

}  // namespace

extern "C" {

Uint8 __wrap_SDL_GetMouseState(int* x, int* y) {
    auto& script = pointerScript();
    Pointer p{0, 0, false};
    if (!script.empty()) {
        p = script.front();
        if (script.size() > 1) {
            script.pop_front();
        }
    }
    if (x != nullptr) {
        *x = p.x;
    }
    if (y != nullptr) {
        *y = p.y;
    }
    return p.button ? SDL_BUTTON(1) : 0;
}

void __wrap_SDL_Delay(Uint32) {}

int __wrap_SDL_Flip(SDL_Surface* screen) {
    FlipCapture& c = capture();
    ++c.flips;
    if (c.flips == c.saveAt) {
        save(screen, c.path);
    }
    return __real_SDL_Flip(screen);
}

}  // extern "C"

namespace {

void blitAt(SDL_Surface* picture, SDL_Surface* screen, int x, int y) {
    SDL_Rect where = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_BlitSurface(picture, nullptr, screen, &where);
}

// The game screen's own pictures, loaded as the game screen loads them.
struct GamePictures {
    SDL_Surface* highlight = IMG_Load("data/game/botaoreversiazul.png");
    SDL_Surface* redTurn = IMG_Load("data/game/redturn.png");
    SDL_Surface* greenTurn = IMG_Load("data/game/greenturn.png");
    SDL_Surface* numbers = IMG_Load("data/game/numbers.png");
    SDL_Surface* redWin = IMG_Load("data/game/redwin.png");
    SDL_Surface* greenWin = IMG_Load("data/game/greenwin.png");
    SDL_Surface* nobodyWin = IMG_Load("data/game/nobodywin.png");
    SDL_Surface* escText = IMG_Load("data/game/esctext.png");

    GamePictures() = default;
    GamePictures(const GamePictures&) = delete;
    GamePictures& operator=(const GamePictures&) = delete;
    ~GamePictures() {
        for (SDL_Surface* s :
             {highlight, redTurn, greenTurn, numbers, redWin, greenWin, nobodyWin, escText}) {
            SDL_FreeSurface(s);
        }
    }
};

void drawDigit(SDL_Surface* strip, SDL_Surface* screen, int digit, int x, int y) {
    SDL_Rect source = {static_cast<Sint16>(10 * digit + 1), 0, 8, 21};
    SDL_Rect where = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_BlitSurface(strip, &source, screen, &where);
}

// One game-screen frame as the game composes it: board and discs, the
// highlight, the indicator (turn 0 = the result), the ESC hint and the counts.
void drawGameFrame(Board& board, const GamePictures& pictures, SDL_Surface* screen, int32_t turn,
                   int cursorX, int cursorY) {
    board.draw(screen);
    if (Board::isInside(cursorX, cursorY)) {
        blitAt(pictures.highlight, screen, 40 * cursorX + 41, 40 * cursorY + 41);
    }
    board.recount();
    const int32_t red = board.redCount();
    const int32_t green = board.greenCount();
    SDL_Surface* indicator = turn == RED     ? pictures.redTurn
                             : turn == GREEN ? pictures.greenTurn
                             : red > green   ? pictures.redWin
                             : red < green   ? pictures.greenWin
                                             : pictures.nobodyWin;
    blitAt(indicator, screen, 5, 10);
    blitAt(pictures.escText, screen, 260, 22);
    blitAt(board.frame(9), screen, 1, 361);
    drawDigit(pictures.numbers, screen, green / 10, 41, 371);
    drawDigit(pictures.numbers, screen, green % 10, 50, 371);
    blitAt(board.frame(0), screen, 361, 361);
    drawDigit(pictures.numbers, screen, red / 10, 342, 371);
    drawDigit(pictures.numbers, screen, red % 10, 351, 371);
}

// Plays up to `plies` moves picked by `rng` (the whole game when plies < 0) and
// returns the side to move, or 0 once neither side can.
int32_t playRandom(Board& board, std::mt19937& rng, int plies) {
    int32_t turn = RED;
    for (int played = 0; plies < 0 || played < plies; ++played) {
        MoveList moves(turn, &board);
        if (moves.isEmpty()) {
            MoveList other(opponentOf(turn), &board);
            if (other.isEmpty()) {
                return 0;
            }
            turn = opponentOf(turn);
            --played;
            continue;
        }
        int count = 0;
        for (Move* m = moves.first(); m != nullptr; m = m->next) {
            ++count;
        }
        Move* chosen = moves.first();
        for (int skip = static_cast<int>(rng() % static_cast<unsigned>(count)); skip > 0; --skip) {
            chosen = chosen->next;
        }
        moves.apply(chosen->x, chosen->y);
        turn = opponentOf(turn);
    }
    // The side to move after a pass is the one that can.
    if (MoveList(turn, &board).isEmpty()) {
        turn = MoveList(opponentOf(turn), &board).isEmpty() ? 0 : opponentOf(turn);
    }
    return turn;
}

void renderMenus(Menu& menu, SDL_Surface* screen, const std::string& out) {
    menu.draw(screen);
    save(screen, out + "/menu.bmp");

    struct Choice {
        int x;
        int y;
        const char* name;
    };
    const Choice choices[] = {{200, 160, "menu-twoplayers"},
                              {200, 182, "menu-red"},
                              {200, 204, "menu-green"},
                              {202, 226, "menu-exit"}};
    int32_t depth = 0;
    int32_t difficulty = 0;
    for (const Choice& c : choices) {
        pointerScript() = {{c.x, c.y, true}};
        menu.run(screen, depth, difficulty);
        save(screen, out + "/" + c.name + ".bmp");
    }

    // Both settings up to their top, then down to their bottom, by the arrows.
    pointerScript() = {
        {262, 259, true}, {262, 259, true}, {307, 293, true}, {0, 0, false}, {200, 182, true}};
    menu.run(screen, depth, difficulty);
    save(screen, out + "/menu-hard-depth7.bmp");
    pointerScript() = {{150, 259, true}, {150, 259, true}, {150, 259, true}, {195, 293, true},
                       {195, 293, true}, {0, 0, false},    {200, 204, true}};
    menu.run(screen, depth, difficulty);
    save(screen, out + "/menu-easy-depth3.bmp");
}

void renderGame(SDL_Surface* screen, const std::string& out) {
    GamePictures pictures;

    // A game in progress with the marker on a legal cell of the side to move.
    {
        Board board;
        std::mt19937 rng(7);
        const int32_t turn = playRandom(board, rng, 17);
        MoveList moves(turn, &board);
        int x = -1;
        int y = -1;
        if (!moves.isEmpty()) {
            moves.first()->cell(x, y);
        }
        drawGameFrame(board, pictures, screen, turn, x, y);
        save(screen, out + "/game.bmp");
    }

    // The middle of a flip: the move of the side to move that turns the most.
    {
        Board board;
        std::mt19937 rng(11);
        const int32_t turn = playRandom(board, rng, 14);
        drawGameFrame(board, pictures, screen, turn, -1, -1);
        int bestX = -1;
        int bestY = -1;
        int bestTurned = -1;
        for (int x = 0; x < 8; ++x) {
            for (int y = 0; y < 8; ++y) {
                Board trial(board);
                MoveList trialMoves(turn, &trial);
                if (!trialMoves.hasMove(x, y)) {
                    continue;
                }
                trial.recount();
                const int before = turn == RED ? trial.redCount() : trial.greenCount();
                trialMoves.apply(x, y);
                trial.recount();
                const int after = turn == RED ? trial.redCount() : trial.greenCount();
                if (after - before > bestTurned) {
                    bestTurned = after - before;
                    bestX = x;
                    bestY = y;
                }
            }
        }
        board.saveSnapshot();
        MoveList(turn, &board).apply(bestX, bestY);
        capture() = {0, 5, out + "/flip.bmp"};
        board.animateFlips(screen);
        capture() = {};
    }

    // One finished game for each result.
    bool done[3] = {false, false, false};
    const char* names[3] = {"result-red", "result-green", "result-nobody"};
    for (unsigned seed = 1; seed < 5000 && !(done[0] && done[1] && done[2]); ++seed) {
        Board board;
        std::mt19937 rng(seed);
        playRandom(board, rng, -1);
        board.recount();
        const int result = board.redCount() > board.greenCount()   ? 0
                           : board.redCount() < board.greenCount() ? 1
                                                                   : 2;
        if (!done[result]) {
            done[result] = true;
            drawGameFrame(board, pictures, screen, 0, -1, -1);
            save(screen, out + "/" + names[result] + ".bmp");
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string out = argc > 1 ? argv[1] : "screenshots";
    setenv("SDL_VIDEODRIVER", "dummy", 0);

    // As in the program: the menu loads its pictures before SDL is up.
    Menu menu;
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, "Cannot start SDL video: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Surface* screen = SDL_SetVideoMode(400, 400, 24, SDL_HWSURFACE | SDL_DOUBLEBUF);
    if (screen == nullptr) {
        std::fprintf(stderr, "Cannot set the video mode: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    renderMenus(menu, screen, out);
    renderGame(screen, out);
    SDL_Quit();
    return failed ? 1 : 0;
}
