#include "platform/common/sdl_memory.h"

#include <SDL.h>
#include <malloc.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace plat::common {
namespace {

constexpr size_t HUGE_PAGE = size_t(2) << 20;

SDL_malloc_func g_malloc = nullptr;
SDL_calloc_func g_calloc = nullptr;
SDL_realloc_func g_realloc = nullptr;
SDL_free_func g_free = nullptr;

// Mapped blocks and their mapped lengths. Never destroyed: SDL may free after static
// destructors have run.
std::mutex& Lock() {
    static auto* lock = new std::mutex;
    return *lock;
}
std::unordered_map<void*, size_t>& Blocks() {
    static auto* blocks = new std::unordered_map<void*, size_t>;
    return *blocks;
}

// Zeroed, huge-page aligned, or nullptr.
void* MapBlock(size_t size) {
    if (size > (SIZE_MAX >> 1)) return nullptr;
    const size_t length = (size + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1);
    // One huge page more than needed, so that the block can start on a huge-page boundary.
    void* raw = mmap(nullptr, length + HUGE_PAGE, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const uintptr_t begin = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t start = (begin + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1);
    if (start > begin) munmap(raw, start - begin);
    const size_t tail = HUGE_PAGE - (start - begin);
    if (tail > 0) munmap(reinterpret_cast<void*>(start + length), tail);
    void* block = reinterpret_cast<void*>(start);
    madvise(block, length, MADV_HUGEPAGE);  // only advice: without it the block still works
    std::lock_guard<std::mutex> guard(Lock());
    Blocks()[block] = length;
    return block;
}

// The mapped length of a block of ours, or 0 for one the previous allocator made.
size_t MappedLength(void* mem) {
    if (mem == nullptr) return 0;
    std::lock_guard<std::mutex> guard(Lock());
    const auto it = Blocks().find(mem);
    return it != Blocks().end() ? it->second : 0;
}

void UnmapBlock(void* mem, size_t length) {
    {
        std::lock_guard<std::mutex> guard(Lock());
        Blocks().erase(mem);
    }
    munmap(mem, length);
}

void* Malloc(size_t size) {
    if (size >= LARGE_BLOCK) {
        if (void* block = MapBlock(size)) return block;
    }
    return g_malloc(size);
}

void* Calloc(size_t count, size_t size) {
    if (size != 0 && count > SIZE_MAX / size) return g_calloc(count, size);
    if (count * size >= LARGE_BLOCK) {
        if (void* block = MapBlock(count * size)) return block;  // fresh mappings read as zero
    }
    return g_calloc(count, size);
}

void* Realloc(void* mem, size_t size) {
    const size_t mapped = MappedLength(mem);
    if (mapped == 0) {
        if (mem == nullptr || size < LARGE_BLOCK) return g_realloc(mem, size);
        // Growing one of the old allocator's blocks past the threshold: move it to a mapping.
        void* block = MapBlock(size);
        if (block == nullptr) return g_realloc(mem, size);
        std::memcpy(block, mem, malloc_usable_size(mem) < size ? malloc_usable_size(mem) : size);
        g_free(mem);
        return block;
    }
    if (size <= mapped && size >= LARGE_BLOCK) return mem;
    void* moved = Malloc(size == 0 ? 1 : size);
    if (moved == nullptr) return nullptr;  // the old block stays valid, as realloc promises
    std::memcpy(moved, mem, mapped < size ? mapped : size);
    UnmapBlock(mem, mapped);
    return moved;
}

void Free(void* mem) {
    if (mem == nullptr) return;
    if (const size_t mapped = MappedLength(mem)) {
        UnmapBlock(mem, mapped);
        return;
    }
    g_free(mem);
}

}  // namespace

void UseLargePagesForSdl() {
#if defined(__SANITIZE_ADDRESS__)
    // Under AddressSanitizer every block stays where the sanitizer can watch it.
    return;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return;
#endif
#endif
    if (g_malloc != nullptr) return;
    SDL_GetMemoryFunctions(&g_malloc, &g_calloc, &g_realloc, &g_free);
    SDL_SetMemoryFunctions(Malloc, Calloc, Realloc, Free);
}

size_t LargeBlocksMapped() {
    std::lock_guard<std::mutex> guard(Lock());
    return Blocks().size();
}

}  // namespace plat::common
