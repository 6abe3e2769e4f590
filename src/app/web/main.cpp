// Start-up in a browser page. The pictures and the value table are preloaded
// into the program's own file system under /data, and "/" is the current
// directory, so every relative data path already finds them; there are no
// libraries to check, as they are compiled in.

#include "app/Program.h"

int main(int argc, char** argv) {
    return runProgram(argc, argv);
}
