#pragma once

#include <cstdio>
#include <string>

// What the tuner says goes to the terminal and to its log file alike, each
// line as it comes, so that a long run can be followed and a cut one read.
class TuneLog {
  public:
    explicit TuneLog(const std::string& path);
    ~TuneLog();
    TuneLog(const TuneLog&) = delete;
    TuneLog& operator=(const TuneLog&) = delete;

    bool isOpen() const { return file != nullptr; }

    void say(const char* format, ...) __attribute__((format(printf, 2, 3)));

  private:
    std::FILE* file;
};
