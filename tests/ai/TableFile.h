#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

// Writes `text` byte for byte to a fresh file under the test's temporary
// directory and returns its path. The process id keeps runs of the same test
// from other checkouts on the machine out of each other's files; the files go
// when the test program ends.
inline std::string writeTable(const std::string& text) {
    struct Written {
        std::vector<std::string> paths;
        ~Written() {
            for (const std::string& path : paths) {
                std::remove(path.c_str());
            }
        }
    };
    static Written written;
    static int serial = 0;
    const std::string path = testing::TempDir() + "vantrixo_table_" + std::to_string(getpid()) +
                             "_" + std::to_string(serial++) + "_" +
                             testing::UnitTest::GetInstance()->current_test_info()->name() + ".brd";
    std::ofstream out(path, std::ios::out | std::ios::binary | std::ios::trunc);
    out << text;
    written.paths.push_back(path);
    return path;
}

// A table file of eight lines, every cell holding `value`.
inline std::string uniformTable(int32_t value) {
    std::string text;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            text += std::to_string(value) + (x < 7 ? " " : "\n");
        }
    }
    return writeTable(text);
}
