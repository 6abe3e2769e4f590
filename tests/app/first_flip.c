/* Preloaded by measure.py: notes in FIRST_FLIP_FILE the moment of the
 * program's first SDL_Flip, on the monotonic clock. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
typedef struct SDL_Surface SDL_Surface;
int SDL_Flip(SDL_Surface* screen) {
    static int (*real)(SDL_Surface*);
    static int done;
    if (!real) real = (int (*)(SDL_Surface*))dlsym(RTLD_NEXT, "SDL_Flip");
    int result = real(screen);
    if (!done) {
        struct timespec t;
        clock_gettime(CLOCK_MONOTONIC, &t);
        FILE* f = fopen(getenv("FIRST_FLIP_FILE"), "w");
        if (f) { fprintf(f, "%ld.%09ld\n", (long)t.tv_sec, t.tv_nsec); fclose(f); }
        done = 1;
    }
    return result;
}
