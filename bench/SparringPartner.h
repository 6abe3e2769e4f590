#pragma once

#include <cstdint>
#include <random>

// Opponents that the computer's settings are measured and tuned against:
// written for that alone, they never ship. Each works on two disc sets (bit
// 8·x + y for cell (x, y), as the rules' DiscSets) and is deterministic: a
// partner made with the same seed answers the same position the same way.
//
// - random: any legal move, drawn from its seeded generator;
// - greedy: the move that turns the most discs (ties drawn at random);
// - searchers: a negamax alpha-beta search that weighs mobility, corners,
//   the cells next to an empty corner and frontier discs, `depth` plies deep;
//   once `exactEmpties` or fewer cells are empty they solve the rest of the
//   game exactly and play a move with the best final disc difference.
class SparringPartner {
  public:
    enum class Style { RANDOM, GREEDY, SEARCH };

    struct Kind {
        const char* name;
        Style style;
        int32_t depth;
        int32_t exactEmpties;
    };

    // The partners of the ladder and the tuner, weakest first.
    static constexpr int32_t KINDS = 4;
    static constexpr Kind ROSTER[KINDS] = {{"random", Style::RANDOM, 0, 0},
                                           {"greedy", Style::GREEDY, 0, 0},
                                           {"shallow", Style::SEARCH, 2, 10},
                                           {"deep", Style::SEARCH, 4, 12}};

    SparringPartner(const Kind& kind, uint32_t seed);

    // The cell (8·x + y) of the move to play, for the side owning `own`;
    // -1 when it has no legal move.
    int32_t choose(uint64_t own, uint64_t opposing);

    // Search nodes visited since construction.
    uint64_t nodeCount() const { return nodes; }

    // The rules on disc sets: the legal move cells of the side owning `own`,
    // and the discs that a move on `cell` turns over.
    static uint64_t legalMoves(uint64_t own, uint64_t opposing);
    static uint64_t flips(int32_t cell, uint64_t own, uint64_t opposing);

    // The exact final disc difference (own minus opposing) of the side to
    // move under perfect play from here, passes included; its best cell in
    // `bestCell` (-1 when it must pass or the game is over).
    int32_t solve(uint64_t own, uint64_t opposing, int32_t& bestCell);

    // The score of a game that has ended: the disc difference, the empty
    // cells going to the side with more discs.
    static int32_t finalDifference(uint64_t own, uint64_t opposing);

  private:
    // A negamax alpha-beta node (fail-soft): `plies` deep, weighing the
    // positions met there, or with EXACT to the end of the game.
    template <bool EXACT>
    int32_t search(uint64_t own, uint64_t opposing, int32_t plies, int32_t alpha, int32_t beta,
                   bool passed);
    static int32_t evaluate(uint64_t own, uint64_t opposing);

    Style style;
    int32_t depth;
    int32_t exactEmpties;
    std::mt19937 random;
    uint64_t nodes = 0;
};
