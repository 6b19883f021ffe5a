// The floor of the real-time figure: a bare SDL program that shows one 800 x 600 picture at
// 60 frames per second, with the same renderer and the same idle rule as the game (sleep 1 ms
// while the next frame is more than 2 ms away), and nothing else. Escape or closing the window
// ends it, and it prints the stats line of tinselrun-measured.
// Usage: bare_loop PICTURE [SECONDS]
#include <SDL.h>
#include <SDL_image.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bare_loop PICTURE [SECONDS]\n");
        return 2;
    }
    const double limit = argc > 2 ? std::atof(argv[2]) : 0.0;
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return 1;
    SDL_Window* window = SDL_CreateWindow("Tinselrun bare loop", SDL_WINDOWPOS_CENTERED,
                                          SDL_WINDOWPOS_CENTERED, 800, 600, SDL_WINDOW_SHOWN);
    SDL_Renderer* renderer = nullptr;
    const Uint32 attempts[] = {SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC,
                               SDL_RENDERER_ACCELERATED, SDL_RENDERER_SOFTWARE};
    for (Uint32 flags : attempts) {
        if (window != nullptr && (renderer = SDL_CreateRenderer(window, -1, flags)) != nullptr)
            break;
    }
    SDL_Surface* picture = IMG_Load(argv[1]);
    SDL_Texture* texture =
        renderer && picture ? SDL_CreateTextureFromSurface(renderer, picture) : nullptr;
    if (texture == nullptr) {
        std::fprintf(stderr, "bare_loop: %s\n", SDL_GetError());
        return 1;
    }
    SDL_FreeSurface(picture);

    const double freq = static_cast<double>(SDL_GetPerformanceFrequency());
    const Uint64 start = SDL_GetPerformanceCounter();
    auto ms = [&] {
        return static_cast<double>(SDL_GetPerformanceCounter() - start) * 1000.0 / freq;
    };
    const double period = 1000.0 / 60.0;
    double next = period;
    long long frames = 0;
    double firstAt = -1, firstCpu = -1;
    bool quit = false;
    while (!quit) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (e.type == SDL_QUIT) quit = true;
            if (e.type == SDL_KEYDOWN && e.key.keysym.scancode == SDL_SCANCODE_ESCAPE) quit = true;
        }
        if (limit > 0 && ms() >= limit * 1000.0) quit = true;
        const double now = ms();
        if (now > next) {
            next += period;
            SDL_RenderClear(renderer);
            SDL_RenderCopy(renderer, texture, nullptr, nullptr);
            SDL_RenderPresent(renderer);
            if (frames++ == 0) {
                firstAt = WallSeconds();
                firstCpu = static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
            }
        } else if (next - now > 2.0) {
            SDL_Delay(1);
        }
    }
    const double seconds = ms() / 1000.0;
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    std::printf(
        "tinselrun-stats ticks=%lld frames=%lld seconds=%.3f first_frame_at=%.6f "
        "first_frame_cpu=%.3f\n",
        frames, frames, seconds, firstAt, firstCpu);
    return 0;
}
