#include "TuneLog.h"

#include <cstdarg>

TuneLog::TuneLog(const std::string& path) : file(std::fopen(path.c_str(), "w")) {}

TuneLog::~TuneLog() {
    if (file != nullptr) {
        std::fclose(file);
    }
}

void TuneLog::say(const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    std::fputs(text, stdout);
    std::fflush(stdout);
    std::fputs(text, file);
    std::fflush(file);
}
