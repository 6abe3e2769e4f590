#include "ai/PositionValues.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>

namespace {

// White space as the C library's formatted input knows it (locale "C").
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

void PositionValues::loadValues(const std::string& path) {
    // Only a regular file is read: a directory, FIFO, device or socket is as
    // unreadable as a missing file and is reported the same way (without the
    // wait for a writer that opening a FIFO would cost). Binary: a carriage
    // return stays in the line, where it is white space.
    struct Descriptor {
        int fd;
        ~Descriptor() {
            if (fd >= 0) {
                close(fd);
            }
        }
    };
    const Descriptor file{open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    struct stat status;
    if (file.fd < 0 || fstat(file.fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        std::cerr << "Failed to open '" << path << "'." << std::endl;
        return;
    }
    // Exactly eight line reads into one buffer, as a stream's getline does them:
    // once the file has ended the buffer keeps the last text, so a last line
    // without its line feed also fills the rows after it.
    char chunk[4096];
    size_t chunkSize = 0;
    size_t chunkAt = 0;
    size_t total = 0;
    bool ended = false;
    std::string line;
    for (int32_t row = 0; row < 8; ++row) {
        if (!ended) {
            line.clear();
            while (true) {
                if (chunkAt == chunkSize) {
                    const ssize_t got =
                        total < FILE_READ
                            ? read(file.fd, chunk, std::min(sizeof chunk, FILE_READ - total))
                            : 0;
                    if (got <= 0) {
                        ended = true;
                        break;
                    }
                    chunkSize = static_cast<size_t>(got);
                    chunkAt = 0;
                    total += chunkSize;
                }
                const char c = chunk[chunkAt++];
                if (c == '\n') {
                    break;
                }
                if (line.size() < LINE_KEPT) {
                    line += c;
                }
            }
        }
        parseRow(line, row);
    }
}

// Reads a line the way the pattern "%d %d %d %d %d %d %d %d" does: up to eight
// optionally signed decimals, any white space (or none) around them, stopping
// at the first item that is not a number. A number outside the 32-bit range
// counts as not a number instead of wrapping around.
void PositionValues::parseRow(const std::string& line, int32_t row) {
    const char* p = line.c_str();  // like the C library, the text ends at a NUL
    for (int32_t column = 0; column < 8; ++column) {
        while (isBlank(*p)) {
            ++p;
        }
        bool negative = false;
        if (*p == '+' || *p == '-') {
            negative = *p == '-';
            ++p;
        }
        if (*p < '0' || *p > '9') {
            return;
        }
        // Past 2^31 the magnitude is out of range whatever follows, so stop growing it.
        constexpr int64_t TOO_LARGE = int64_t{1} << 32;
        int64_t magnitude = 0;
        while (*p >= '0' && *p <= '9') {
            if (magnitude < TOO_LARGE) {
                magnitude = magnitude * 10 + (*p - '0');
            }
            ++p;
        }
        const int64_t value = negative ? -magnitude : magnitude;
        if (value < INT32_MIN || value > INT32_MAX) {
            return;
        }
        values[column][row] = static_cast<int32_t>(value);
    }
}
