#pragma once

// Games of the computer's settings against the sparring partners, from sets
// of distinct seeded openings. Shared by the ladder and the tuner.

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "SparringPartner.h"
#include "WorkerPool.h"
#include "ai/ComputerPlayer.h"
#include "rules/Board.h"
#include "rules/MoveList.h"
#include "support/TestBoards.h"

namespace matches {

constexpr const char* LEVELS[3] = {"easy", "normal", "hard"};

struct Setting {
    int32_t depth;
    int32_t difficulty;
};

// The nine menu settings: easy, normal and hard at depth 3, 5 and 7.
constexpr int32_t SETTINGS = 9;
constexpr Setting SETTING[SETTINGS] = {{3, 0}, {5, 0}, {7, 0}, {3, 1}, {5, 1},
                                       {7, 1}, {3, 2}, {5, 2}, {7, 2}};

inline std::string label(int32_t setting) {
    return std::string(LEVELS[SETTING[setting].difficulty]) + " " +
           std::to_string(SETTING[setting].depth);
}

// A position to start games from: the discs of each side and the side to move.
struct Opening {
    uint64_t red = 0;
    uint64_t green = 0;
    int32_t side = RED;
};

// The position seen through one of the board's eight symmetries (bit 8·x + y).
inline Opening mirrored(const Opening& opening, int32_t symmetry) {
    Opening seen;
    seen.side = opening.side;
    for (int32_t cell = 0; cell < 64; ++cell) {
        int32_t x = cell / 8;
        int32_t y = cell % 8;
        if ((symmetry & 1) != 0) {
            x = 7 - x;
        }
        if ((symmetry & 2) != 0) {
            y = 7 - y;
        }
        if ((symmetry & 4) != 0) {
            std::swap(x, y);
        }
        const int32_t to = 8 * x + y;
        seen.red |= (opening.red >> cell & 1) << to;
        seen.green |= (opening.green >> cell & 1) << to;
    }
    return seen;
}

inline bool samePosition(const Opening& a, const Opening& b) {
    for (int32_t symmetry = 0; symmetry < 8; ++symmetry) {
        const Opening seen = mirrored(b, symmetry);
        if (a.red == seen.red && a.green == seen.green && a.side == seen.side) {
            return true;
        }
    }
    return false;
}

// `count` openings of `plies` random plies each, drawn from the seeds
// firstSeed, firstSeed + 1, ...: no two alike under the board's symmetries,
// and none like any of `taken`, so a held-out set never meets a position it
// was tuned on.
inline std::vector<Opening> distinctOpenings(Board& board, uint32_t firstSeed, int32_t count,
                                             int32_t plies, const std::vector<Opening>& taken) {
    std::vector<Opening> drawn;
    for (uint32_t seed = firstSeed; static_cast<int32_t>(drawn.size()) < count; ++seed) {
        std::mt19937 random(seed);
        Opening opening;
        if (!randomPosition(board, random, plies, opening.side)) {
            continue;
        }
        opening.red = board.discsOf(RED);
        opening.green = board.discsOf(GREEN);
        const auto alike = [&opening](const Opening& other) {
            return samePosition(opening, other);
        };
        if (std::none_of(drawn.begin(), drawn.end(), alike) &&
            std::none_of(taken.begin(), taken.end(), alike)) {
            drawn.push_back(opening);
        }
    }
    return drawn;
}

// What a finished game on `board` is worth to `side`: 1 for a win, 0.5 for
// a draw, 0 for a loss.
inline double pointsOf(const Board& board, int32_t side) {
    const int32_t winner = board.winner();
    return winner == side ? 1.0 : winner == NO_SIDE ? 0.5 : 0.0;
}

inline void lay(Board& board, const Opening& opening) {
    for (int32_t cell = 0; cell < 64; ++cell) {
        const int32_t value = (opening.red >> cell & 1) != 0     ? RED
                              : (opening.green >> cell & 1) != 0 ? GREEN
                                                                 : EMPTY;
        board.setCell(cell / 8, cell % 8, value);
    }
}

// One game from `opening`: the computer, with the table at `table` and the
// given setting, plays `computerSide` against the partner. Returns the
// computer's points: 1 for a win, 0.5 for a draw, 0 for a loss.
inline double play(Board& board, const Opening& opening, const std::string& table,
                   const Setting& setting, int32_t computerSide, SparringPartner& partner) {
    lay(board, opening);
    ComputerPlayer computer(table, setting.depth, setting.difficulty, computerSide);
    for (int32_t side = MoveList::sideToMove(board, opening.side); side != NO_SIDE;
         side = MoveList::sideToMove(board, opponentOf(side))) {
        MoveList moves(side, &board);
        if (side == computerSide) {
            computer.play(&moves);
            continue;
        }
        const int32_t cell = partner.choose(board.discsOf(side), board.discsOf(opponentOf(side)));
        moves.apply(cell / 8, cell % 8);
    }
    return pointsOf(board, computerSide);
}

// The partner's seed for one game: the same whatever the computer's setting
// or table, so that every table meets the same partner moves.
inline uint32_t partnerSeed(int32_t opening, int32_t computerSide, int32_t kind) {
    return static_cast<uint32_t>(1000003 * opening + 7919 * kind + computerSide);
}

// The openings the tuner tunes on, and those it and the ladder report on:
// drawn from different seeds, and no held-out position is one of any
// tuning's training positions under the symmetries. Each tuning run draws
// fresh training openings from a stream of its own: a table tuned on a set
// scores better there than anywhere else, so a run that started from it on
// the same set would have to beat that luck rather than the table.
constexpr uint32_t SEED = 15;
constexpr int32_t TRAINING = 100;
constexpr int32_t HELD_OUT = 96;
// The random plies of every opening against the partners (the ladder's
// cross table between the settings has shorter openings of its own).
constexpr int32_t PARTNER_OPENING_PLIES = 6;
constexpr int32_t TUNINGS = 2;  // the runs so far; the last one's stream is the tuner's

inline uint32_t trainingStream(uint32_t seed, int32_t run) {
    return seed * 100000 + 20000 * static_cast<uint32_t>(run);
}

inline std::vector<Opening> trainingOpenings(Board& board, uint32_t seed, int32_t count) {
    return distinctOpenings(board, trainingStream(seed, TUNINGS - 1), count, PARTNER_OPENING_PLIES,
                            {});
}

inline std::vector<Opening> heldOutOpenings(Board& board, uint32_t seed, int32_t count,
                                            const std::vector<Opening>& training) {
    std::vector<Opening> taken = training;
    for (int32_t run = 0; run < TUNINGS; ++run) {
        const std::vector<Opening> earlier =
            distinctOpenings(board, trainingStream(seed, run), TRAINING, PARTNER_OPENING_PLIES, {});
        taken.insert(taken.end(), earlier.begin(), earlier.end());
    }
    return distinctOpenings(board, seed * 100000 + 50000, count, PARTNER_OPENING_PLIES, taken);
}

// One game of a setting against a partner, from one opening and colour,
// with one of the tables being compared.
struct Game {
    int32_t table;
    int32_t setting;
    int32_t kind;
    int32_t opening;
    int32_t side;
    double points = 0;
};

// Every game of the given tables, settings and partners from each opening
// (the depth-7 settings from the first `deepOpenings` only) with both
// colours, the deepest settings first so that no thread is left alone with
// a long game at the end.
inline std::vector<Game> schedule(int32_t tables, const std::vector<int32_t>& settings,
                                  const std::vector<int32_t>& kinds, int32_t openings,
                                  int32_t deepOpenings) {
    std::vector<Game> games;
    for (const int32_t depth : {7, 5, 3}) {
        for (int32_t table = 0; table < tables; ++table) {
            for (const int32_t setting : settings) {
                if (SETTING[setting].depth != depth) {
                    continue;
                }
                const int32_t played = depth == 7 ? std::min(openings, deepOpenings) : openings;
                for (const int32_t kind : kinds) {
                    for (int32_t o = 0; o < played; ++o) {
                        games.push_back({table, setting, kind, o, RED});
                        games.push_back({table, setting, kind, o, GREEN});
                    }
                }
            }
        }
    }
    return games;
}

// Plays the games on the pool's workers. Each game's points land in its own
// entry, so the outcome does not depend on which worker played it.
inline void playAll(WorkerPool& pool, std::vector<Game>& games,
                    const std::vector<Opening>& openings, const std::vector<std::string>& tables) {
    pool.run(games.size(), [&games, &openings, &tables](Board& board, size_t i) {
        Game& g = games[i];
        SparringPartner partner(SparringPartner::ROSTER[g.kind],
                                partnerSeed(g.opening, g.side, g.kind));
        g.points =
            play(board, openings[g.opening], tables[g.table], SETTING[g.setting], g.side, partner);
    });
}

}  // namespace matches
