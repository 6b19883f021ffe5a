// SDL's memory functions, with large blocks on huge pages.
#pragma once

#include <cstddef>

namespace plat::common {

// SDL_SetMemoryFunctions with an allocator that maps every block of LARGE_BLOCK bytes or more
// (decoded pictures, textures of the software renderer, sounds) on its own and asks for
// transparent huge pages there. On the virtual machines the game is built on, the first
// touch of a 4 KiB page costs some 10 microseconds: loading 34 files touched about 150 MB,
// most of the start-up time. Smaller blocks go to the allocator SDL had. Call before the
// first SDL call; calling it again does nothing. Blocks made before it are freed as before.
constexpr size_t LARGE_BLOCK = size_t(2) << 20;
void UseLargePagesForSdl();

// How many blocks the allocator holds mapped now (for tests).
size_t LargeBlocksMapped();

}  // namespace plat::common
