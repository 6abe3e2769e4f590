// Renders the game's screens to BMP files so that anyone can look at them
// without playing: the menu with each item highlighted, a game in progress,
// a frame from the middle of a flip, and each end-of-game picture.
//
//   SDL_VIDEODRIVER=dummy ./vantrixo_screenshots <output directory>
//
// It runs from the build directory (beside the data link). The pointer, ESC,
// the waits and the flips are replaced at link time: the menu and the game run
// their own loops on a scripted pointer without waiting, so every frame is
// drawn by the program's own code.

#include <SDL.h>
#include <time.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/Program.h"
#include "rules/Board.h"
#include "rules/MoveList.h"
#include "screens/Game.h"
#include "screens/Layout.h"
#include "screens/Menu.h"

extern "C" int __real_SDL_Flip(SDL_Surface* screen);

namespace {

struct Pointer {
    int x;
    int y;
    bool button;
};

// One scripted run of the menu or a game. Each poll of the pointer takes the
// next entry and the last one stays; once it has been taken, a game sees ESC
// at the end of that iteration, and flip number `saveFlip` from then on
// (counted from 1) is saved to `flipPath`.
struct Script {
    std::deque<Pointer> pointer;
    bool escAfterLast = false;
    int saveFlip = 0;
    std::string flipPath;
    bool lastTaken = false;
    int flipsSinceLast = 0;
};

Script& script() {
    static Script s;
    return s;
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
    Script& s = script();
    Pointer p{0, 0, false};
    if (!s.pointer.empty()) {
        p = s.pointer.front();
        if (s.pointer.size() > 1) {
            s.pointer.pop_front();
        } else {
            s.lastTaken = true;
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

Uint8* __wrap_SDL_GetKeyState(int* numkeys) {
    static Uint8 keys[SDLK_LAST];
    keys[SDLK_ESCAPE] = script().escAfterLast && script().lastTaken ? 1 : 0;
    if (numkeys != nullptr) {
        *numkeys = SDLK_LAST;
    }
    return keys;
}

void __wrap_SDL_Delay(Uint32) {}

int __wrap_nanosleep(const struct timespec*, struct timespec*) {
    return 0;
}

int __wrap_SDL_Flip(SDL_Surface* screen) {
    Script& s = script();
    if (s.lastTaken && ++s.flipsSinceLast == s.saveFlip) {
        save(screen, s.flipPath);
    }
    return __real_SDL_Flip(screen);
}

}  // extern "C"

namespace {

using Moves = std::vector<std::pair<int, int>>;

// A two-player game that clicks `moves` one per iteration, then (when given)
// rests the pointer on `hover`, and ends with ESC. The screen then holds the
// game's last frame.
void playGame(SDL_Surface* screen, const Moves& moves, const Pointer* hover, int saveFlip = 0,
              const std::string& flipPath = "") {
    auto pixel = [](int cell) { return layout::CELL_PITCH * (cell + 1) + layout::CELL_PITCH / 2; };
    Script& s = script();
    s = Script{};
    for (const auto& m : moves) {
        s.pointer.push_back({pixel(m.first), pixel(m.second), true});
    }
    if (hover != nullptr) {
        s.pointer.push_back({pixel(hover->x), pixel(hover->y), false});
    }
    s.escAfterLast = true;
    s.saveFlip = saveFlip;
    s.flipPath = flipPath;
    Game game(1, 5, 1);
    game.run(screen);
}

// Plays up to `plies` moves picked by `rng` (the whole game when plies < 0),
// appending each to `played`, and returns the side to move, or 0 once neither
// side can.
int32_t playRandom(Board& board, std::mt19937& rng, int plies, Moves& played) {
    int32_t turn = RED;
    for (int count = 0; plies < 0 || count < plies; ++count) {
        MoveList moves(turn, &board);
        if (moves.isEmpty()) {
            MoveList other(opponentOf(turn), &board);
            if (other.isEmpty()) {
                return 0;
            }
            turn = opponentOf(turn);
            --count;
            continue;
        }
        int listed = 0;
        for (Move* m = moves.first(); m != nullptr; m = m->next) {
            ++listed;
        }
        Move* chosen = moves.first();
        for (int skip = static_cast<int>(rng() % static_cast<unsigned>(listed)); skip > 0; --skip) {
            chosen = chosen->next;
        }
        played.emplace_back(chosen->x, chosen->y);
        moves.apply(chosen->x, chosen->y);
        turn = opponentOf(turn);
    }
    // The side to move after a pass is the one that can.
    if (MoveList(turn, &board).isEmpty()) {
        turn = MoveList(opponentOf(turn), &board).isEmpty() ? 0 : opponentOf(turn);
    }
    return turn;
}

// Runs the menu on `pointer` and saves the screen it ends on.
void runMenu(Menu& menu, SDL_Surface* screen, std::deque<Pointer> pointer,
             const std::string& path) {
    script() = Script{};
    script().pointer = std::move(pointer);
    int32_t depth = 0;
    int32_t difficulty = 0;
    menu.run(screen, depth, difficulty);
    save(screen, path);
}

void renderMenus(Menu& menu, SDL_Surface* screen, const std::string& out) {
    menu.draw(screen);
    save(screen, out + "/menu.bmp");
    runMenu(menu, screen, {{200, 160, true}}, out + "/menu-twoplayers.bmp");
    runMenu(menu, screen, {{200, 182, true}}, out + "/menu-red.bmp");
    runMenu(menu, screen, {{200, 204, true}}, out + "/menu-green.bmp");
    runMenu(menu, screen, {{202, 226, true}}, out + "/menu-exit.bmp");
    // Both settings up to their top, then down to their bottom, by the arrows.
    runMenu(menu, screen,
            {{262, 259, true}, {262, 259, true}, {307, 293, true}, {0, 0, false}, {200, 182, true}},
            out + "/menu-hard-depth7.bmp");
    runMenu(menu, screen,
            {{150, 259, true},
             {150, 259, true},
             {150, 259, true},
             {195, 293, true},
             {195, 293, true},
             {0, 0, false},
             {200, 204, true}},
            out + "/menu-easy-depth3.bmp");
}

void renderGame(SDL_Surface* screen, const std::string& out) {
    // A game in progress with the marker on a legal cell of the side to move.
    {
        Board board;
        std::mt19937 rng(7);
        Moves played;
        const int32_t turn = playRandom(board, rng, 17, played);
        MoveList moves(turn, &board);
        Pointer hover{-1, -1, false};
        if (!moves.isEmpty()) {
            moves.first()->cell(hover.x, hover.y);
        }
        playGame(screen, played, &hover);
        save(screen, out + "/game.bmp");
    }

    // The middle of a flip: the move of the side to move that turns the most.
    {
        Board board;
        std::mt19937 rng(11);
        Moves played;
        const int32_t turn = playRandom(board, rng, 14, played);
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
        played.emplace_back(bestX, bestY);
        playGame(screen, played, nullptr, 5, out + "/flip.bmp");
    }

    // One finished game for each result.
    bool done[3] = {false, false, false};
    const char* names[3] = {"result-red", "result-green", "result-nobody"};
    for (unsigned seed = 1; seed < 5000 && !(done[0] && done[1] && done[2]); ++seed) {
        Board board;
        std::mt19937 rng(seed);
        Moves played;
        playRandom(board, rng, -1, played);
        board.recount();
        const int result = board.redCount() > board.greenCount()   ? 0
                           : board.redCount() < board.greenCount() ? 1
                                                                   : 2;
        if (!done[result]) {
            done[result] = true;
            playGame(screen, played, nullptr);
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
    SDL_Surface* screen = nullptr;
    if (!setUpDisplay(&screen)) {
        return 1;
    }
    renderMenus(menu, screen, out);
    renderGame(screen, out);
    return failed ? 1 : 0;
}
