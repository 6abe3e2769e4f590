// Fuzz target for the value-table loader. Each input is written to a scratch
// file and loaded; besides what the sanitizers catch, the
// table must match what the C library's "%d %d %d %d %d %d %d %d" reads from
// the same eight line reads, for every line whose numbers all fit in 32 bits.
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

// True when every run of digits is short enough that %d cannot overflow.
bool numbersFit(const char* text) {
    int run = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        run = (*p >= '0' && *p <= '9') ? run + 1 : 0;
        if (run > 9) {
            return false;
        }
    }
    return true;
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
        if (!numbersFit(line.c_str())) {
            continue;
        }
        int v[8] = {};
        std::sscanf(line.c_str(), "%d %d %d %d %d %d %d %d", &v[0], &v[1], &v[2], &v[3], &v[4],
                    &v[5], &v[6], &v[7]);
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
