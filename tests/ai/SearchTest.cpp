#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "TableFile.h"
#include "ai/ComputerPlayer.h"
#include "rules/Board.h"
#include "rules/MoveList.h"
#include "support/ReferenceSearch.h"
#include "support/SearchSignature.h"
#include "support/TestBoards.h"

namespace {

const std::string SHIPPED = PositionValues::SHIPPED_TABLE;

// Plain minimax through the public pieces, no pruning: the value the search
// must find at its root, whatever it cuts away.
int32_t minimax(ComputerPlayer& player, Board& board, int32_t toMove, int32_t computer, int ply,
                int horizon) {
    MoveList moves(toMove, &board);
    if (moves.isEmpty()) {
        return player.finalScore(&moves);
    }
    if (ply == horizon) {
        return player.evaluate(board);
    }
    const bool maximising = toMove == computer;
    int32_t best = maximising ? INT32_MIN : INT32_MAX;
    for (const Move* m = moves.first(); m != nullptr; m = m->next) {
        moves.apply(m->x, m->y);
        const int32_t score =
            minimax(player, board, opponentOf(toMove), computer, ply + 1, horizon);
        moves.undo(m->x, m->y);
        best = maximising ? std::max(best, score) : std::min(best, score);
    }
    return best;
}

TEST(Search, CornerShortcutTakesTheFirstLegalCornerInItsOrderOnNormalAndHard) {
    // Red can take all four corners; the other rows keep the search busy.
    Board board;
    setRows(board, {"_GR__RG_",  //
                    "G______G",  //
                    "R__GR__R",  //
                    "___RG___",  //
                    "___GR___",  //
                    "R______R",  //
                    "G______G",  //
                    "_GR__RG_"});
    // With a table that hates corners, only the shortcut explains taking one.
    const std::string hateCorners = writeTable(
        "-300 0 0 0 0 0 0 -300\n0 0 0 0 0 0 0 0\n0 0 0 0 0 0 0 0\n0 0 0 0 0 0 0 0\n"
        "0 0 0 0 0 0 0 0\n0 0 0 0 0 0 0 0\n0 0 0 0 0 0 0 0\n-300 0 0 0 0 0 0 -300\n");
    const int corners[4][2] = {{0, 0}, {0, 7}, {7, 0}, {7, 7}};
    for (int taken = 0; taken < 4; ++taken) {
        for (int32_t difficulty : {1, 2}) {
            Board trial(board);
            // Block the corners ahead of `taken` in the order.
            for (int c = 0; c < taken; ++c) {
                trial.setCell(corners[c][0], corners[c][1], GREEN);
            }
            ComputerPlayer player(hateCorners, 7, difficulty, RED);
            MoveList moves(RED, &trial);
            ASSERT_TRUE(moves.hasMove(corners[taken][0], corners[taken][1]));
            EXPECT_EQ(player.play(&moves), 1);
            EXPECT_EQ(trial.getCell(corners[taken][0], corners[taken][1]), RED)
                << "corner " << taken << " difficulty " << difficulty;
            EXPECT_EQ(player.nodeCount(), 0u);
        }
    }
    // Easy searches instead, and with this table it keeps away from the corners.
    ComputerPlayer easy(hateCorners, 3, 0, RED);
    MoveList moves(RED, &board);
    easy.play(&moves);
    EXPECT_GT(easy.nodeCount(), 0u);
    for (const auto& corner : corners) {
        EXPECT_EQ(board.getCell(corner[0], corner[1]), EMPTY);
    }
}

TEST(Search, AmongEqualScoresTheLaterMoveIsPlayed) {
    const std::string zeros = uniformTable(0);
    // Every position four plies from the opening is worth 0 with an all-zero
    // table: the last of Red's four opening moves, (5, 4), is chosen.
    for (int32_t difficulty : {0, 1}) {
        Board board;
        ComputerPlayer player(zeros, 3, difficulty, RED);
        MoveList moves(RED, &board);
        player.play(&moves);
        EXPECT_EQ(board.getCell(5, 4), RED);
        EXPECT_EQ(board.getCell(4, 4), RED);
    }
    // Green's list from the opening ends with (5, 3).
    Board board;
    ComputerPlayer player(zeros, 5, 0, GREEN);
    MoveList moves(GREEN, &board);
    int32_t x = 0;
    int32_t y = 0;
    EXPECT_EQ(player.searchMax(&moves, -ComputerPlayer::SCORE_LIMIT, ComputerPlayer::SCORE_LIMIT, 0,
                               x, y),
              0);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 3);
    // The same at a node where the opponent moves: Red's last opening move.
    MoveList replies(RED, &board);
    EXPECT_EQ(player.searchMin(&replies, -ComputerPlayer::SCORE_LIMIT, ComputerPlayer::SCORE_LIMIT,
                               0, x, y),
              0);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 4);
}

TEST(Search, AReplyCutOffAtTheBestSoFarDoesNotPassForATie) {
    Board board;
    setRows(board, {"________",  //
                    "_RRG____",  //
                    "__RR____",  //
                    "___RGG__",  //
                    "___GR___",  //
                    "__G_RRR_",  //
                    "________",  //
                    "________"});
    // The hand-written table the game first shipped: the position is chosen for it.
    const std::string handWritten = writeTable(
        "120 -25 20 8 8 20 -25 120\n-25 -60 -6 -4 -4 -6 -60 -25\n20 -6 14 3 3 14 -6 20\n"
        "8 -4 3 2 2 3 -4 8\n8 -4 3 2 2 3 -4 8\n20 -6 14 3 3 14 -6 20\n"
        "-25 -60 -6 -4 -4 -6 -60 -25\n120 -25 20 8 8 20 -25 120\n");
    ComputerPlayer player(handWritten, 3, 0, RED);
    const auto exact = [&](int32_t x, int32_t y) {
        MoveList moves(RED, &board);
        moves.apply(x, y);
        const int32_t value = minimax(player, board, GREEN, RED, 1, 4);
        moves.undo(x, y);
        return value;
    };
    // (4, 2) is worth more than (5, 4), which comes later in the list; yet a
    // plain reply search of (5, 4) in the window above (4, 2)'s value is cut
    // off at exactly that value. The computer's own search only promises a
    // bound on the right side.
    const int32_t best = exact(4, 2);
    ASSERT_LT(exact(5, 4), best);
    reference::Reference plain{{}, 3, 0, RED, GREEN};
    PositionValues table;
    table.loadValues(handWritten);
    reference::Grid after;
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            plain.values[x][y] = table.at(x, y);
            after.c[x][y] = board.getCell(x, y);
        }
    }
    reference::flips(after, RED, 5, 4, true);
    int32_t x;
    int32_t y;
    ASSERT_EQ(plain.search(after, false, best, ComputerPlayer::SCORE_LIMIT, 1, x, y), best);
    MoveList moves(RED, &board);
    moves.apply(5, 4);
    MoveList replies(GREEN, &board);
    ASSERT_LE(player.searchMin(&replies, best, ComputerPlayer::SCORE_LIMIT, 1, x, y), best);
    moves.undo(5, 4);
    // The computer still plays the better move.
    player.play(&moves);
    EXPECT_EQ(board.getCell(4, 2), RED);
    EXPECT_EQ(board.getCell(5, 4), EMPTY);
}

TEST(Search, TheRootValueIsPlainMinimaxOverDepthPlusOnePlies) {
    const std::string tables[] = {SHIPPED, writeTable("5 -3 8 1 1 8 -3 5\n"
                                                      "2 9 -7 4 0 6 1 -2\n"
                                                      "-8 3 3 3 7 2 0 1\n"
                                                      "1 1 -4 0 0 5 5 9\n"
                                                      "6 0 2 0 0 -1 4 3\n"
                                                      "0 2 2 -6 8 1 1 7\n"
                                                      "3 -9 4 4 2 0 6 -5\n"
                                                      "9 1 0 -3 5 2 7 4\n")};
    std::mt19937 random(4242);
    for (int trial = 0; trial < 24; ++trial) {
        Board board;
        int32_t side;
        if (!randomPosition(board, random, 8 + static_cast<int>(random() % 48), side)) {
            continue;
        }
        // Every other trial blocks a corner that someone could take with a
        // stray value, which only the move lists know how to treat (nothing
        // can turn a corner, so the search leaves it as it is).
        for (const auto& [cx, cy] : {std::pair{0, 0}, {0, 7}, {7, 0}, {7, 7}}) {
            if (trial % 2 == 1 && (MoveList(RED, &board).hasMove(cx, cy) ||
                                   MoveList(GREEN, &board).hasMove(cx, cy))) {
                board.setCell(cx, cy, 7);
                break;
            }
        }
        const int32_t depth = trial % 3 + 1;  // valued at 2, 3 or 4 plies
        const int32_t difficulty = trial % 2 == 0 ? 0 : 2;
        ComputerPlayer player(tables[trial % 2], depth, difficulty, side);
        const Board before(board);
        MoveList moves(side, &board);
        int32_t x;
        int32_t y;
        const int32_t score = player.searchMax(&moves, -ComputerPlayer::SCORE_LIMIT,
                                               ComputerPlayer::SCORE_LIMIT, 0, x, y);
        const int32_t value = minimax(player, board, side, side, 0, depth + 1);
        EXPECT_EQ(score, value) << "trial " << trial;
        EXPECT_TRUE(sameCells(board, before));
        // The move chosen is worth that value itself: no bound passed for a
        // tie. The same at a root where the opponent moves.
        const auto worth = [&](MoveList& list, int32_t toMove, int32_t cellX, int32_t cellY) {
            list.apply(cellX, cellY);
            const int32_t exact = minimax(player, board, opponentOf(toMove), side, 1, depth + 1);
            list.undo(cellX, cellY);
            return exact;
        };
        ASSERT_TRUE(moves.hasMove(x, y));
        EXPECT_EQ(worth(moves, side, x, y), value) << "trial " << trial;
        MoveList theirs(opponentOf(side), &board);
        if (!theirs.isEmpty()) {
            int32_t tx;
            int32_t ty;
            const int32_t least = player.searchMin(&theirs, -ComputerPlayer::SCORE_LIMIT,
                                                   ComputerPlayer::SCORE_LIMIT, 0, tx, ty);
            EXPECT_EQ(least, minimax(player, board, opponentOf(side), side, 0, depth + 1));
            ASSERT_TRUE(theirs.hasMove(tx, ty));
            EXPECT_EQ(worth(theirs, opponentOf(side), tx, ty), least) << "trial " << trial;
        }
        // In narrower windows, at the root and at a reply: the value itself
        // when it lies inside, else a bound on its side of the window.
        const auto within = [&](int32_t truth, auto search) {
            for (int window = 0; window < 3; ++window) {
                const int32_t low = truth - 150 + static_cast<int32_t>(random() % 300);
                const int32_t high = low + 1 + static_cast<int32_t>(random() % 300);
                const int32_t found = search(low, high);
                EXPECT_TRUE(found <= low    ? truth <= found
                            : found >= high ? truth >= found
                                            : truth == found)
                    << "trial " << trial << ": " << truth << " in (" << low << ", " << high
                    << ") found as " << found;
            }
        };
        int32_t wx;
        int32_t wy;
        within(value, [&](int32_t low, int32_t high) {
            return player.searchMax(&moves, low, high, 0, wx, wy);
        });
        moves.apply(x, y);
        MoveList replies(opponentOf(side), &board);
        within(minimax(player, board, opponentOf(side), side, 1, depth + 1),
               [&](int32_t low, int32_t high) {
                   return player.searchMin(&replies, low, high, 1, wx, wy);
               });
        moves.undo(x, y);
    }
}

TEST(Search, APositionWhoseSideToMoveIsStuckIsValuedByTheDiscCounts) {
    // Green cannot move here, though Red could go on: the game counts as over.
    Board board;
    setRows(board, {"RRG_____",  //
                    "________",  //
                    "________",  //
                    "________",  //
                    "________",  //
                    "________",  //
                    "________",  //
                    "________"});
    MoveList green(GREEN, &board);
    ASSERT_TRUE(green.isEmpty());
    ASSERT_FALSE(MoveList(RED, &board).isEmpty());
    const std::string zeros = uniformTable(0);
    ComputerPlayer red(zeros, 3, 2, RED);
    ComputerPlayer greenPlayer(zeros, 3, 2, GREEN);
    EXPECT_EQ(red.finalScore(&green), ComputerPlayer::WIN_SCORE);
    EXPECT_EQ(greenPlayer.finalScore(&green), -ComputerPlayer::WIN_SCORE);
    board.setCell(3, 0, GREEN);
    MoveList level(GREEN, &board);
    ASSERT_TRUE(level.isEmpty());
    EXPECT_EQ(red.finalScore(&level), 0);
    EXPECT_EQ(greenPlayer.finalScore(&level), 0);

    // At the root and at the horizon alike, the empty list wins over the table,
    // and an empty node reports (-1, -1).
    board.setCell(3, 0, EMPTY);
    const std::string big = uniformTable(100);
    ComputerPlayer greenBig(big, 3, 0, GREEN);
    ComputerPlayer redBig(big, 3, 0, RED);
    int32_t x = 5;
    int32_t y = 5;
    EXPECT_EQ(greenBig.searchMax(&green, -ComputerPlayer::SCORE_LIMIT, ComputerPlayer::SCORE_LIMIT,
                                 0, x, y),
              -ComputerPlayer::WIN_SCORE);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    EXPECT_EQ(redBig.searchMin(&green, -ComputerPlayer::SCORE_LIMIT, ComputerPlayer::SCORE_LIMIT, 4,
                               x, y),
              ComputerPlayer::WIN_SCORE);
    EXPECT_EQ(greenBig.searchMax(&green, -ComputerPlayer::SCORE_LIMIT, ComputerPlayer::SCORE_LIMIT,
                                 4, x, y),
              -ComputerPlayer::WIN_SCORE);
    // A horizon node that can move is valued by the table and leaves the cell alone.
    MoveList red4(RED, &board);
    x = 5;
    y = 6;
    EXPECT_EQ(
        redBig.searchMax(&red4, -ComputerPlayer::SCORE_LIMIT, ComputerPlayer::SCORE_LIMIT, 4, x, y),
        100);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 6);
    // A search that plays Red's only move (3, 0) reaches a position where Green
    // is stuck with fewer discs: a win, even though Red itself could go on.
    ComputerPlayer redSearch(big, 3, 0, RED);
    EXPECT_EQ(redSearch.searchMax(&red4, -ComputerPlayer::SCORE_LIMIT, ComputerPlayer::SCORE_LIMIT,
                                  0, x, y),
              ComputerPlayer::WIN_SCORE);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 0);
}

TEST(Search, TheEdgeTermCountsBorderLinesHeldByOneSideOnlyOnHard) {
    const std::string zeros = uniformTable(0);
    ComputerPlayer hard(zeros, 3, 2, RED);
    ComputerPlayer normal(zeros, 3, 1, RED);
    Board board;
    // Three of the computer's discs on the top row, away from the corners.
    setRows(board, {"__RRR___", "________", "________", "___RG___", "___GR___", "________",
                    "________", "________"});
    EXPECT_EQ(hard.edgeTerm(board), 3000);
    EXPECT_EQ(hard.evaluate(board), 3000);
    EXPECT_EQ(normal.evaluate(board), 0);
    // Two opponent discs on the left column.
    setRows(board, {"________", "________", "G_______", "G__RG___", "___GR___", "________",
                    "________", "________"});
    EXPECT_EQ(hard.evaluate(board), -2000);
    // A top row holding both colours contributes nothing, the other lines still count.
    setRows(board, {"_RG_R___", "________", "________", "___RG__G", "___GR___", "________",
                    "________", "________"});
    EXPECT_EQ(hard.evaluate(board), -1000);
    // A lone corner disc counts on its row and on its column.
    setRows(board, {"________", "________", "________", "___RG___", "___GR___", "________",
                    "________", "_______R"});
    EXPECT_EQ(hard.edgeTerm(board), 2000);
    // Seen from Green, the same corner counts against.
    ComputerPlayer greenHard(zeros, 3, 2, GREEN);
    EXPECT_EQ(greenHard.evaluate(board), -2000);
    // With a table, the edge term comes on top of the table sum on hard only.
    const std::string ones = uniformTable(1);
    ComputerPlayer hardOnes(ones, 3, 2, RED);
    ComputerPlayer easyOnes(ones, 3, 0, RED);
    EXPECT_EQ(hardOnes.evaluate(board), 1 + 2000);
    EXPECT_EQ(easyOnes.evaluate(board), 1);
}

TEST(Search, PlayChangesTheBoardOnlyByTheChosenMoveAndIsDeterministic) {
    std::mt19937 random(99);
    for (int trial = 0; trial < 18; ++trial) {
        Board board;
        int32_t side;
        if (!randomPosition(board, random, 4 + static_cast<int>(random() % 52), side)) {
            continue;
        }
        board.saveSnapshot();
        const Board before(board);
        const int32_t difficulty = trial % 3;
        ComputerPlayer player(SHIPPED, 5, difficulty, side);
        MoveList moves(side, &board);
        testing::internal::CaptureStdout();
        EXPECT_EQ(player.play(&moves), 1);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

        // Exactly one empty cell became the computer's; redo that move on a copy.
        int played = 0;
        int mx = -1;
        int my = -1;
        for (int x = 0; x < 8; ++x) {
            for (int y = 0; y < 8; ++y) {
                if (before.getCell(x, y) == EMPTY && board.getCell(x, y) != EMPTY) {
                    ++played;
                    mx = x;
                    my = y;
                }
                EXPECT_EQ(board.getPreviousCell(x, y), before.getCell(x, y));
            }
        }
        ASSERT_EQ(played, 1);
        Board expected(before);
        MoveList replay(side, &expected);
        replay.apply(mx, my);
        EXPECT_TRUE(sameCells(board, expected));

        // The same position again, with a fresh player, with the same one,
        // and with one that searched it in a narrow window first: whatever
        // an earlier search left behind, the same move from the same work.
        const uint64_t nodes = player.nodeCount();
        ComputerPlayer fresh(SHIPPED, 5, difficulty, side);
        ComputerPlayer narrow(SHIPPED, 5, difficulty, side);
        {
            Board copy(before);
            MoveList list(side, &copy);
            int32_t x;
            int32_t y;
            narrow.searchMax(&list, -10, 10, 0, x, y);
        }
        for (ComputerPlayer* again : {&fresh, &player, &narrow}) {
            Board copy(before);
            MoveList list(side, &copy);
            again->resetNodeCount();
            again->play(&list);
            EXPECT_TRUE(sameCells(copy, board));
            EXPECT_EQ(again->nodeCount(), nodes);
        }
    }
}

// A search given up at the poll's k-th call stops there, plays nothing, and
// leaves nothing behind: the next search is the same as a fresh player's.
TEST(Search, AnAbandonedSearchStopsAtOncePlaysNothingAndTheNextStartsAfresh) {
    // The first seeded middle game whose search lasts a few polls.
    Board board;
    Board before;
    int32_t side = 0;
    uint64_t nodes = 0;
    for (uint32_t seed = 1; seed < 40 && nodes <= 4 * ComputerPlayer::POLL_INTERVAL; ++seed) {
        std::mt19937 random(seed);
        if (!randomPosition(board, random, 24, side)) {
            continue;
        }
        for (int x = 0; x < 8; ++x) {
            for (int y = 0; y < 8; ++y) {
                before.setCell(x, y, board.getCell(x, y));
            }
        }
        ComputerPlayer fresh(SHIPPED, 7, 0, side);
        MoveList moves(side, &board);
        fresh.play(&moves);
        nodes = fresh.nodeCount();
    }
    ASSERT_GT(nodes, 4 * ComputerPlayer::POLL_INTERVAL) << "no search long enough for the test";

    struct Quitter {
        uint64_t calls = 0;
        uint64_t at;
    };
    ComputerPlayer player(SHIPPED, 7, 0, side);
    for (const uint64_t k : {1, 3}) {
        Quitter quitter{0, k};
        player.setPoll(
            [](void* q) {
                return ++static_cast<Quitter*>(q)->calls >= static_cast<Quitter*>(q)->at;
            },
            &quitter);
        Board trial(before);
        MoveList list(side, &trial);
        player.resetNodeCount();
        testing::internal::CaptureStdout();
        EXPECT_EQ(player.play(&list), 1);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_TRUE(sameCells(trial, before)) << k;
        EXPECT_EQ(quitter.calls, k);
        EXPECT_GE(player.nodeCount(), k * ComputerPlayer::POLL_INTERVAL);
        EXPECT_LT(player.nodeCount(), k * ComputerPlayer::POLL_INTERVAL + 64) << k;
    }
    player.setPoll(nullptr, nullptr);
    Board again(before);
    MoveList list(side, &again);
    player.resetNodeCount();
    player.play(&list);
    EXPECT_TRUE(sameCells(again, board));
    EXPECT_EQ(player.nodeCount(), nodes);
}

// A table far outside the usual range must neither overflow nor stop the
// computer from moving, and a won game still beats any table sum.
TEST(Search, ExtremeTablesStayInsideTheWinScores) {
    const std::string huge = uniformTable(INT32_MAX);
    const std::string hugeNegative = uniformTable(INT32_MIN);
    Board board;
    for (const std::string& table : {huge, hugeNegative}) {
        for (int32_t difficulty : {0, 2}) {
            ComputerPlayer player(table, 3, difficulty, RED);
            const int32_t value = player.evaluate(board);
            EXPECT_GT(value, -ComputerPlayer::WIN_SCORE);
            EXPECT_LT(value, ComputerPlayer::WIN_SCORE);
            Board copy(board);
            copy.setCell(0, 0, RED);
            copy.setCell(1, 1, RED);
            const int32_t more = player.evaluate(copy);
            EXPECT_EQ(more, table == huge ? ComputerPlayer::WIN_SCORE - 1
                                          : -(ComputerPlayer::WIN_SCORE - 1));
            Board game;
            MoveList moves(RED, &game);
            testing::internal::CaptureStdout();
            player.play(&moves);
            EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
            game.recount();
            EXPECT_EQ(game.redCount(), 4);
        }
    }
    // Positions where some move leaves the opponent stuck with fewer discs: that
    // win must outrank every move valued by the huge table.
    std::mt19937 random(5);
    int found = 0;
    while (found < 4) {
        Board game;
        int32_t side;
        if (!randomPosition(game, random, 40 + static_cast<int>(random() % 20), side)) {
            continue;
        }
        MoveList moves(side, &game);
        bool winNow = false;
        for (const Move* m = moves.first(); m != nullptr; m = m->next) {
            moves.apply(m->x, m->y);
            MoveList replies(opponentOf(side), &game);
            int32_t red;
            int32_t green;
            replies.counts(red, green);
            winNow = winNow || (replies.isEmpty() && (side == RED ? red > green : green > red));
            moves.undo(m->x, m->y);
        }
        if (!winNow) {
            continue;
        }
        ++found;
        ComputerPlayer player(huge, 3, 0, side);
        int32_t x;
        int32_t y;
        EXPECT_EQ(player.searchMax(&moves, -ComputerPlayer::SCORE_LIMIT,
                                   ComputerPlayer::SCORE_LIMIT, 0, x, y),
                  ComputerPlayer::WIN_SCORE);
    }
}

// Nodes are the work a player waits for, as deterministic as the moves on
// either disc-set path: a change to them by one node records the new figure.
TEST(Search, KeepsItsSignatureExactly) {
    const signature::Signature now = signature::of(SHIPPED);
    EXPECT_EQ(now.moves, signature::RECORDED_MOVES)
        << std::hex << "moves " << now.moves << ": the search chooses other moves";
    EXPECT_EQ(now.nodes, signature::RECORDED_NODES)
        << "nodes: the search does other work than recorded; record the new figure";
}

}  // namespace
