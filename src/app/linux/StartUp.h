#pragma once

#include <cstdint>
#include <string>

struct SDL_version;

// What has to hold before the program proper runs: SDL and SDL_image at least
// as new as the ones the program was built against, and the directory that
// holds the executable as the current directory (every data path is relative).
// The old directory is given back when the object goes away.
class StartUp {
  public:
    StartUp() = default;
    StartUp(const StartUp&) = delete;
    StartUp& operator=(const StartUp&) = delete;
    ~StartUp();

    // False, after "Need version N of NAME" on standard error, when linked is
    // older than needed (or missing).
    static bool isRecentEnough(const SDL_version* linked, const SDL_version& needed,
                               const char* name);

    // Makes the directory of executable (symbolic links resolved) current and
    // remembers the one before, if it has a name. False, after a line on
    // standard error and with nothing changed, when that fails.
    bool enterDirectoryOf(const char* executable);

    const std::string& previousDirectory() const { return oldDirectory; }

  private:
    std::string oldDirectory;
    bool entered = false;
};
