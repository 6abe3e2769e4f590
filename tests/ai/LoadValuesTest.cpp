#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "TableFile.h"
#include "ai/ComputerPlayer.h"
#include "ai/PositionValues.h"

namespace {

PositionValues loaded(const std::string& text) {
    PositionValues table;
    table.loadValues(writeTable(text));
    return table;
}

// Row y of a table as text, "v0 v1 ... v7".
std::string row(const PositionValues& table, int y) {
    std::string text;
    for (int x = 0; x < 8; ++x) {
        text += (x > 0 ? " " : "") + std::to_string(table.at(x, y));
    }
    return text;
}

TEST(LoadValues, RowsTopToBottomCellsLeftToRightExtraLinesAndNumbersIgnored) {
    std::string text;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            text += std::to_string(100 * y + x + 1) + " ";
        }
        text += "999\n";  // a ninth number
    }
    text += "7 7 7 7 7 7 7 7\n";  // a ninth line
    const PositionValues table = loaded(text);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(table.at(x, y), 100 * y + x + 1) << x << "," << y;
        }
    }
    EXPECT_EQ(table.at(0, 2), 201);  // first number of the third line
    EXPECT_EQ(table.at(7, 0), 8);    // last number of the first line
}

TEST(LoadValues, SeparatorsSignsAndCarriageReturnsReadLikeBlanks) {
    const PositionValues table = loaded(
        "  1\t2  \t 3 4 5 6 7 8\r\n"
        "\t-1 +2 -0 4\v5\f6 7 8   \r\n"
        "1-2+3 4 5 6 7 8\n"  // a blank in the pattern also matches no white space
        "0000000000000009 -0000000000000010 0 0 0 0 0 0\r\n");
    EXPECT_EQ(row(table, 0), "1 2 3 4 5 6 7 8");
    EXPECT_EQ(row(table, 1), "-1 2 0 4 5 6 7 8");
    EXPECT_EQ(row(table, 2), "1 -2 3 4 5 6 7 8");
    EXPECT_EQ(row(table, 3), "9 -10 0 0 0 0 0 0");
}

TEST(LoadValues, ShortBadAndBlankLinesAssignOnlyWhatTheyHold) {
    const PositionValues table = loaded(
        "1 2 3 4 5\n"
        "1 2 x 4 5 6 7 8\n"
        "\n"
        "9 9 9 9 9 9 9 9\n"
        "12abc 5 5 5 5 5 5 5\n"
        "- 5 5\n"
        "7 7 7 7 7 7 7 7\n");
    EXPECT_EQ(row(table, 0), "1 2 3 4 5 0 0 0");
    EXPECT_EQ(row(table, 1), "1 2 0 0 0 0 0 0");
    EXPECT_EQ(row(table, 2), "0 0 0 0 0 0 0 0");
    EXPECT_EQ(row(table, 3), "9 9 9 9 9 9 9 9");
    EXPECT_EQ(row(table, 4), "12 0 0 0 0 0 0 0");
    EXPECT_EQ(row(table, 5), "0 0 0 0 0 0 0 0");
    EXPECT_EQ(row(table, 6), "7 7 7 7 7 7 7 7");
    // The file ended with a line feed after its seventh line: the eighth read finds nothing.
    EXPECT_EQ(row(table, 7), "0 0 0 0 0 0 0 0");
}

TEST(LoadValues, TheLastLineWithoutLineFeedRepeatsIntoTheMissingRows) {
    std::string six;
    for (int y = 0; y < 6; ++y) {
        six += std::to_string(y + 1) + " 2 3 4 5 6 7 8\n";
    }
    const PositionValues withFeed = loaded(six);
    EXPECT_EQ(row(withFeed, 5), "6 2 3 4 5 6 7 8");
    EXPECT_EQ(row(withFeed, 6), "0 0 0 0 0 0 0 0");
    EXPECT_EQ(row(withFeed, 7), "0 0 0 0 0 0 0 0");

    six.pop_back();
    const PositionValues withoutFeed = loaded(six);
    EXPECT_EQ(row(withoutFeed, 5), "6 2 3 4 5 6 7 8");
    EXPECT_EQ(row(withoutFeed, 6), "6 2 3 4 5 6 7 8");
    EXPECT_EQ(row(withoutFeed, 7), "6 2 3 4 5 6 7 8");

    const PositionValues oneLine = loaded("-4 3\r");
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(row(oneLine, y), "-4 3 0 0 0 0 0 0") << y;
    }

    const PositionValues empty = loaded("");
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(row(empty, y), "0 0 0 0 0 0 0 0") << y;
    }
}

// A number outside the 32-bit range would be undefined for the C library's %d;
// here it ends the line like any other item that is not a number.
TEST(LoadValues, NumbersOutsideThe32BitRangeEndTheLine) {
    const PositionValues table = loaded(
        "1 2147483647 -2147483648 2147483648 5 5 5 5\n"
        "3 -2147483649 5 5 5 5 5 5\n"
        "99999999999999999999999999999 5 5 5 5 5 5 5\n"
        "4294967297 5 5 5 5 5 5 5\n"
        "+00000000002147483647 -18446744073709551616 5 5 5 5 5 5\n"
        "6 -21474836480 5 5 5 5 5 5\n"
        "7 21474836480 5 5 5 5 5 5\n");
    EXPECT_EQ(table.at(0, 0), 1);
    EXPECT_EQ(table.at(1, 0), INT32_MAX);
    EXPECT_EQ(table.at(2, 0), INT32_MIN);
    EXPECT_EQ(row(table, 0).substr(row(table, 0).size() - 10), " 0 0 0 0 0");
    EXPECT_EQ(row(table, 1), "3 0 0 0 0 0 0 0");
    EXPECT_EQ(row(table, 2), "0 0 0 0 0 0 0 0");
    EXPECT_EQ(row(table, 3), "0 0 0 0 0 0 0 0");
    EXPECT_EQ(row(table, 4), "2147483647 0 0 0 0 0 0 0");
    // Ten times just past either end: the digit after a limit still counts.
    EXPECT_EQ(row(table, 5), "6 0 0 0 0 0 0 0");
    EXPECT_EQ(row(table, 6), "7 0 0 0 0 0 0 0");
}

// Lines of digits, signs, white space and stray letters, with every number
// short enough for %d: the loader must agree with the C library on each one.
TEST(LoadValues, AgreesWithTheCLibraryOnRandomInRangeLines) {
    const char alphabet[] = "0123456789          \t\r\v\f+-x.";
    std::mt19937 random(77);
    for (int file = 0; file < 200; ++file) {
        std::string text;
        std::string lines[8];
        for (std::string& line : lines) {
            const int length = static_cast<int>(random() % 40);
            int digitsInRun = 0;
            for (int i = 0; i < length; ++i) {
                char c = alphabet[random() % (sizeof alphabet - 1)];
                if (c >= '0' && c <= '9' && ++digitsInRun > 9) {
                    c = ' ';
                }
                if (c < '0' || c > '9') {
                    digitsInRun = 0;
                }
                line += c;
            }
            text += line + "\n";
        }
        const PositionValues table = loaded(text);
        for (int y = 0; y < 8; ++y) {
            int v[8] = {};
            std::sscanf(lines[y].c_str(), "%d %d %d %d %d %d %d %d", &v[0], &v[1], &v[2], &v[3],
                        &v[4], &v[5], &v[6], &v[7]);
            for (int x = 0; x < 8; ++x) {
                ASSERT_EQ(table.at(x, y), v[x]) << "line '" << lines[y] << "' x " << x;
            }
        }
    }
}

TEST(LoadValues, AMissingFileIsReportedOnceAndThePlayerStillPlays) {
    testing::internal::CaptureStderr();
    ComputerPlayer player("no/such/dir/values.brd", 3, 1, RED);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Failed to open 'no/such/dir/values.brd'.\n");
    Board board;
    MoveList moves(RED, &board);
    testing::internal::CaptureStdout();
    EXPECT_EQ(player.play(&moves), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    board.recount();
    EXPECT_EQ(board.redCount(), 4);

    // Nor is anything else that is not a regular file: a directory, a device,
    // a FIFO (which must not wait for a writer). The table stays at zero.
    const std::string fifo = writeTable("") + ".fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    alarm(10);
    for (const std::string& path :
         {std::string("no/such/file"), testing::TempDir(), std::string("/dev/zero"), fifo}) {
        testing::internal::CaptureStderr();
        PositionValues other;
        other.loadValues(path);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "Failed to open '" + path + "'.\n");
        for (int y = 0; y < 8; ++y) {
            EXPECT_EQ(row(other, y), "0 0 0 0 0 0 0 0");
        }
    }
    alarm(0);
    unlink(fifo.c_str());
}

// Reading is bounded: a line keeps its first 4096 bytes, and after 64 KiB the
// file counts as ended, its last text filling the rows left. Single digits
// on each side of a bound show it to the byte.
TEST(LoadValues, AnOverlongLineOrFileIsReadOnlyInPart) {
    const PositionValues table =
        loaded("1 2 3" + std::string(5000, ' ') + "4 5 6 7 8\n" + std::string(4095, ' ') + "78\n" +
               "5 5" + std::string(100000, ' ') + "\n6 6 6 6 6 6 6 6\n");
    EXPECT_EQ(row(table, 0), "1 2 3 0 0 0 0 0");
    EXPECT_EQ(row(table, 1), "7 0 0 0 0 0 0 0");
    for (int y = 2; y < 8; ++y) {
        EXPECT_EQ(row(table, y), "5 5 0 0 0 0 0 0") << y;
    }
    // Seven lines of 9,001 bytes, then digits at bytes 64,500, 65,535 and 65,536.
    std::string text;
    for (int line = 0; line < 7; ++line) {
        text += std::string(9000, ' ') + "\n";
    }
    text += std::string(64500 - text.size(), ' ') + "5";
    text += std::string(65535 - text.size(), ' ') + "67\n";
    const PositionValues late = loaded(text);
    EXPECT_EQ(row(late, 6), "0 0 0 0 0 0 0 0");
    EXPECT_EQ(row(late, 7), "5 6 0 0 0 0 0 0");
}

// The table shipped with the game (tuned, bench/Tuner.cpp): eight lines of
// eight numbers, the same under the board's eight symmetries, corners best,
// and small enough that no evaluation comes near a won game's score.
TEST(LoadValues, TheShippedTableIsCompleteSymmetricAndBounded) {
    std::ifstream in(PositionValues::SHIPPED_TABLE, std::ios::binary);
    ASSERT_TRUE(in.is_open());
    std::string line;
    int lines = 0;
    while (std::getline(in, line)) {
        std::istringstream numbers(line);
        int count = 0;
        long value;
        while (numbers >> value) {
            ++count;
        }
        EXPECT_TRUE(numbers.eof()) << "line " << lines;
        EXPECT_EQ(count, 8) << "line " << lines;
        ++lines;
    }
    EXPECT_EQ(lines, 8);

    PositionValues table;
    table.loadValues(PositionValues::SHIPPED_TABLE);
    int64_t most = 4 * 8 * 1000;  // hard's border term at its largest
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            const int32_t v = table.at(x, y);
            EXPECT_EQ(v, table.at(7 - x, y));
            EXPECT_EQ(v, table.at(x, 7 - y));
            EXPECT_EQ(v, table.at(y, x));
            most += std::abs(v);
            const bool corner = (x == 0 || x == 7) && (y == 0 || y == 7);
            if (!corner) {
                EXPECT_LT(v, table.at(0, 0));
            }
        }
    }
    EXPECT_LT(most, ComputerPlayer::WIN_SCORE);
}

}  // namespace
