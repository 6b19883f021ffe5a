// Any bytes given to the picture loader either load or are refused with one line; never a crash.
// Where our own reader and stb_image both decode them, they give the same pixels.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/common/picture.h"
#include "platform/common/sdl_render.h"
#include "platform/renderer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        return plat::CreateRenderer(800, 600, true) == plat::RendererResult::Ok;
    }();
    if (!ready) return 0;
    plat::Texture* texture = plat::common::LoadTextureFromMemory(data, size, "fuzz");
    if (texture != nullptr) {
        const int32_t src[4] = {0, 0, 16, 16};
        plat::DrawTexture(texture, src, 10.0f, 10.0f, 0xFFFFFFFFu, 4.0f, 10.0f, 10.0f);
        plat::DrawTexture(texture, nullptr, 0.0f, 0.0f, 0xFF808080u, 1.0f, 0.0f, 0.0f);
        plat::DestroyTexture(texture);
    }
    plat::common::Picture ours, stb;
    const char* why = "";
    if (plat::common::DecodePicture(data, size, "fuzz", &ours) &&
        plat::common::DecodeWithStb(data, size, &stb, &why) &&
        (ours.width != stb.width || ours.height != stb.height ||
         std::memcmp(ours.Pixels(), stb.Pixels(), size_t(ours.width) * ours.height * 4) != 0)) {
        std::fprintf(stderr, "the readers disagree on a %d x %d picture\n", ours.width,
                     ours.height);
        std::abort();
    }
    return 0;
}
