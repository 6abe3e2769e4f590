// Fuzz target for the value-table loader. Each input is written to a scratch
// file and loaded; besides what the sanitizers catch, the table must match
// what the C library's "%d %d %d %d %d %d %d %d" reads from the same eight
// line reads, with a number outside the 32-bit range ending the line.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ai/PositionValues.h"

namespace {

const std::string& scratchPath() {
    static const std::string path = [] {
        char name[] = "/tmp/vantrixo_fuzz_XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0) {
            std::perror("mkstemp");
            std::abort();
        }
        close(fd);
        std::atexit([] { std::remove(scratchPath().c_str()); });
        return std::string(name);
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data),
                           std::min(size, PositionValues::FILE_READ));
    {
        FILE* file = std::fopen(scratchPath().c_str(), "wb");
        if (file == nullptr) {
            std::abort();
        }
        if (size > 0 && std::fwrite(data, 1, size, file) != size) {
            std::abort();
        }
        std::fclose(file);
    }
    PositionValues table;
    table.loadValues(scratchPath());

    // The eight reads: a line feed ends a line; once the text has run out the
    // buffer keeps whatever the last read left in it.
    std::string line;
    size_t position = 0;
    bool ended = false;
    for (int32_t row = 0; row < 8; ++row) {
        if (!ended) {
            const size_t feed = text.find('\n', position);
            if (feed == std::string::npos) {
                line = text.substr(position);
                ended = true;
            } else {
                line = text.substr(position, feed - position);
                position = feed + 1;
            }
            line.resize(std::min(line.size(), PositionValues::LINE_KEPT));
        }
        // The pattern read one item at a time, each in 64 bits (the C library
        // holds a longer number at the 64-bit limit), so that a number past
        // the 32-bit range, undefined for %d, is seen to end the line.
        int v[8] = {};
        const char* p = line.c_str();
        for (int32_t x = 0; x < 8; ++x) {
            long long item = 0;
            int used = 0;
            if (std::sscanf(p, "%lld%n", &item, &used) != 1 || item < INT32_MIN ||
                item > INT32_MAX) {
                break;
            }
            v[x] = static_cast<int>(item);
            p += used;
        }
        for (int32_t x = 0; x < 8; ++x) {
            if (table.at(x, row) != v[x]) {
                std::fprintf(stderr, "row %d, cell %d: loaded %d, the C library reads %d\n", row, x,
                             table.at(x, row), v[x]);
                std::abort();
            }
        }
    }
    return 0;
}
