// Any text given to the input-script parser parses or names its bad line; never a crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "record/script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    record::Script script;
    record::ScriptError error;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!record::ParseScript(text, &script, &error)) {
        if (error.line < 1 || error.message.empty()) __builtin_trap();
    }
    return 0;
}
