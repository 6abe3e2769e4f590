#pragma once

#include <SDL.h>

// Once the video mode is set, a picture in the screen's own format is blitted
// as a plain copy instead of being converted pixel by pixel in every frame; a
// picture with an alpha channel keeps it. Without a video mode, or should the
// conversion fail, the picture stays as loaded, which draws the same pixels.
inline void toDisplayFormat(SDL_Surface*& picture) {
    if (picture == nullptr || SDL_GetVideoSurface() == nullptr) {
        return;
    }
    SDL_Surface* converted =
        picture->format->Amask != 0 ? SDL_DisplayFormatAlpha(picture) : SDL_DisplayFormat(picture);
    if (converted != nullptr) {
        SDL_FreeSurface(picture);
        picture = converted;
    }
}
