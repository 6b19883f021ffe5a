// Any text given to the input-script parser parses or names its bad line; never a crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sim::Script script;
    sim::ScriptError error;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!sim::ParseScript(text, &script, &error)) {
        if (error.line < 1 || error.message.empty()) __builtin_trap();
    }
    return 0;
}
