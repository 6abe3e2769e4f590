/* Preloaded into the program by the end-to-end runs to hold it inside the
 * computer's search, however quick the search has become.
 *
 * The search's poll pumps SDL's events with neither a sleep nor a read of the
 * mouse since the pump before it; the menu and the turn loop do both between
 * any two pumps. At each such pump, before it runs, the shim writes a byte to
 * the second descriptor named in VANTRIXO_HOLD ("READ,WRITE") and waits for a
 * byte on the first; once that pipe is closed it holds no more. Only the
 * program's own calls count, not those SDL makes inside itself. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static int quiet; /* no sleep and no mouse read since the last pump */
static int released;

static int fromProgram(void* caller) {
    Dl_info where;
    return dladdr(caller, &where) && !(where.dli_fname && strstr(where.dli_fname, "libSDL"));
}

int nanosleep(const struct timespec* wanted, struct timespec* left) {
    static int (*real)(const struct timespec*, struct timespec*);
    if (!real) real = (int (*)(const struct timespec*, struct timespec*))dlsym(RTLD_NEXT, "nanosleep");
    if (fromProgram(__builtin_return_address(0))) quiet = 0;
    return real(wanted, left);
}

void SDL_Delay(uint32_t ms) {
    static void (*real)(uint32_t);
    if (!real) real = (void (*)(uint32_t))dlsym(RTLD_NEXT, "SDL_Delay");
    if (fromProgram(__builtin_return_address(0))) quiet = 0;
    real(ms);
}

uint8_t SDL_GetMouseState(int* x, int* y) {
    static uint8_t (*real)(int*, int*);
    if (!real) real = (uint8_t (*)(int*, int*))dlsym(RTLD_NEXT, "SDL_GetMouseState");
    if (fromProgram(__builtin_return_address(0))) quiet = 0;
    return real(x, y);
}

void SDL_PumpEvents(void) {
    static void (*real)(void);
    static int in = -1, out = -1;
    if (!real) {
        real = (void (*)(void))dlsym(RTLD_NEXT, "SDL_PumpEvents");
        const char* fds = getenv("VANTRIXO_HOLD");
        if (!fds || sscanf(fds, "%d,%d", &in, &out) != 2) released = 1;
    }
    if (!fromProgram(__builtin_return_address(0))) {
        real();
        return;
    }
    if (quiet && !released) {
        char c = 'h';
        if (write(out, &c, 1) != 1 || read(in, &c, 1) != 1) released = 1;
    }
    quiet = 1;
    real();
}
