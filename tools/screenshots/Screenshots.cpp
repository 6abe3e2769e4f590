// Renders the game's screens to BMP files so that anyone can look at them
// without playing: the menu with each item highlighted, a game in progress,
// a frame from the middle of a flip, and each end-of-game picture.
//
//   SDL_VIDEODRIVER=dummy ./vantrixo_screenshots <output directory>
//
// It runs from the build directory (beside the data link), on the tests' SDL
// seam: the menu and the game run their own loops on a scripted pointer and
// a virtual clock, with the real pictures, so every frame is drawn by the
// program's own code without waiting.

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/Program.h"
#include "rules/Board.h"
#include "rules/Difficulty.h"
#include "rules/MoveList.h"
#include "screens/Game.h"
#include "screens/Layout.h"
#include "screens/Menu.h"
#include "screens/MenuItem.h"
#include "support/SdlSeam.h"
#include "support/TestBoards.h"

namespace {

bool failed = false;

void save(SDL_Surface* screen, const std::string& path) {
    if (SDL_SaveBMP(screen, path.c_str()) != 0) {
        std::fprintf(stderr, "Cannot write %s: %s\n", path.c_str(), SDL_GetError());
        failed = true;
    }
}

using Moves = std::vector<std::pair<int, int>>;

// A two-player game that clicks `moves` one second apart, then (when given)
// rests the pointer on `hover`, and ends with ESC. The screen then holds the
// game's last frame; flip number `saveFlip` from the last click on (counted
// from 1) is saved to `flipPath`.
void playGame(SDL_Surface* screen, const Moves& moves, const std::pair<int, int>* hover,
              int saveFlip = 0, const std::string& flipPath = "") {
    std::vector<seam::Input> script;
    uint32_t t = 300;
    for (const auto& m : moves) {
        script.push_back({t, seam::pixelOf(m.first), seam::pixelOf(m.second), 1, false});
        script.push_back({t + 40, seam::pixelOf(m.first), seam::pixelOf(m.second), 0, false});
        t += 1000;
    }
    const uint32_t lastClick = t - 1000;
    if (hover != nullptr) {
        script.push_back({t, seam::pixelOf(hover->first), seam::pixelOf(hover->second), 0, false});
    }
    script.push_back({t + 100, 0, 0, 0, true});
    const uint32_t start = seam::now();
    seam::script(script);
    int flips = 0;
    seam::onFlip([&](SDL_Surface* shown) {
        if (seam::now() >= start + lastClick && ++flips == saveFlip) {
            save(shown, flipPath);
        }
    });
    Game game(TWO_PLAYERS, 5, NORMAL);
    game.run(screen);
    seam::onFlip(nullptr);
}

// Runs the menu on `pointer` and saves the screen it ends on.
void runMenu(Menu& menu, SDL_Surface* screen, std::vector<seam::Input> pointer,
             const std::string& path) {
    seam::script(std::move(pointer));
    int32_t depth = 0;
    int32_t difficulty = 0;
    menu.run(screen, depth, difficulty);
    save(screen, path);
}

void renderMenus(Menu& menu, SDL_Surface* screen, const std::string& out) {
    menu.draw(screen);
    save(screen, out + "/menu.bmp");
    runMenu(menu, screen, {{0, 200, 160, 1, false}}, out + "/menu-twoplayers.bmp");
    runMenu(menu, screen, {{0, 200, 182, 1, false}}, out + "/menu-red.bmp");
    runMenu(menu, screen, {{0, 200, 204, 1, false}}, out + "/menu-green.bmp");
    runMenu(menu, screen, {{0, 202, 226, 1, false}}, out + "/menu-exit.bmp");
    // Both settings up to their top, then down to their bottom, by the arrows
    // held (each step takes 140 ms).
    runMenu(menu, screen,
            {{0, 262, 259, 1, false},
             {300, 307, 293, 1, false},
             {600, 0, 0, 0, false},
             {700, 200, 182, 1, false}},
            out + "/menu-hard-depth7.bmp");
    runMenu(menu, screen,
            {{0, 150, 259, 1, false},
             {400, 195, 293, 1, false},
             {800, 0, 0, 0, false},
             {900, 200, 204, 1, false}},
            out + "/menu-easy-depth3.bmp");
}

void renderGame(SDL_Surface* screen, const std::string& out) {
    // A game in progress with the marker on a legal cell of the side to move.
    {
        Board board;
        std::mt19937 rng(7);
        Moves played;
        int32_t turn = RED;
        randomPosition(board, rng, 17, turn, &played);
        std::pair<int, int> hover{-1, -1};
        MoveList moves(turn, &board);
        if (!moves.isEmpty()) {
            moves.first()->cell(hover.first, hover.second);
        }
        playGame(screen, played, &hover);
        save(screen, out + "/game.bmp");
    }

    // The middle of a flip: the move of the side to move that turns the most.
    {
        Board board;
        std::mt19937 rng(11);
        Moves played;
        int32_t turn = RED;
        randomPosition(board, rng, 14, turn, &played);
        int bestX = -1;
        int bestY = -1;
        int bestTurned = -1;
        for (int x = 0; x < 8; ++x) {
            for (int y = 0; y < 8; ++y) {
                int32_t cells[8][8];
                for (int cx = 0; cx < 8; ++cx) {
                    for (int cy = 0; cy < 8; ++cy) {
                        cells[cx][cy] = board.getCell(cx, cy);
                    }
                }
                const int turned = referenceFlips(cells, turn, x, y, false);
                if (turned > bestTurned && turned > 0) {
                    bestTurned = turned;
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
    // By the winner: NO_SIDE, RED, GREEN.
    const char* names[3] = {"result-nobody", "result-red", "result-green"};
    for (unsigned seed = 1; seed < 5000 && !(done[0] && done[1] && done[2]); ++seed) {
        Board board;
        std::mt19937 rng(seed);
        Moves played;
        int32_t side = RED;
        randomPosition(board, rng, 200, side, &played);
        const int32_t result = board.winner();
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
    seam::reset();
    seam::useRealPictures();

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
