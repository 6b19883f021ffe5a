#include "record/script.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "shell/input.h"

namespace record {

namespace {

struct KeyName {
    const char* name;
    uint8_t held;  // 0 for an event key
    KeyEvent event;
};

// A script is a few hundred lines; anything this big is not one.
constexpr size_t MAX_SCRIPT_BYTES = 64 << 20;

constexpr struct {
    uint8_t bit, code;
} HELD_KEYS[] = {{HOLD_LEFT, DIK_LEFT}, {HOLD_RIGHT, DIK_RIGHT}, {HOLD_UP, DIK_UP},
                 {HOLD_DOWN, DIK_DOWN}, {HOLD_SPACE, DIK_SPACE}, {HOLD_RETURN, DIK_RETURN}};

constexpr KeyName KEY_NAMES[] = {
    {"LEFT", HOLD_LEFT, KeyEvent::Escape},   {"RIGHT", HOLD_RIGHT, KeyEvent::Escape},
    {"UP", HOLD_UP, KeyEvent::Escape},       {"DOWN", HOLD_DOWN, KeyEvent::Escape},
    {"SPACE", HOLD_SPACE, KeyEvent::Escape}, {"RETURN", HOLD_RETURN, KeyEvent::Escape},
    {"ESCAPE", 0, KeyEvent::Escape},         {"F1", 0, KeyEvent::F1},
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Hex(unsigned char c) {
    static const char DIGITS[] = "0123456789ABCDEF";
    return std::string("\\x") + DIGITS[c >> 4] + DIGITS[c & 15];
}

// A token as it may be shown in a one-line message: control and non-ASCII bytes escaped,
// and cut short so that junk cannot make the line long.
std::string Quote(std::string_view token) {
    constexpr size_t SHOWN = 32;
    std::string out = "'";
    for (size_t i = 0; i < token.size() && i < SHOWN; ++i) {
        const auto c = static_cast<unsigned char>(token[i]);
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            out += Hex(c);
        }
    }
    if (token.size() > SHOWN) out += "...";
    return out + "'";
}

// Digits only, no sign; false for anything else or a number past MAX_SCRIPT_TICK.
enum class Number { Ok, Bad, TooBig };
Number ParseNumber(std::string_view s, int64_t* out) {
    if (s.empty()) return Number::Bad;
    int64_t v = 0;
    bool tooBig = false;
    for (char c : s) {
        if (c < '0' || c > '9') return Number::Bad;
        if (!tooBig) {
            v = v * 10 + (c - '0');
            if (v > MAX_SCRIPT_TICK) tooBig = true;
        }
    }
    if (tooBig) return Number::TooBig;
    *out = v;
    return Number::Ok;
}

bool ParseTicks(std::string_view token, Rule* rule, std::string* message) {
    const size_t dash = token.find('-');
    const std::string_view firstText = token.substr(0, dash);
    const std::string_view lastText =
        dash == std::string_view::npos ? firstText : token.substr(dash + 1);
    int64_t first = 0;
    int64_t last = 0;
    const Number a = ParseNumber(firstText, &first);
    const Number b = ParseNumber(lastText, &last);
    if (a == Number::Bad || b == Number::Bad) {
        *message = "bad tick " + Quote(token) + " (want TICK or FIRST-LAST)";
        return false;
    }
    if (a == Number::TooBig || b == Number::TooBig) {
        *message = "tick " + Quote(token) + " is past the last tick a script may name (" +
                   std::to_string(MAX_SCRIPT_TICK) + ")";
        return false;
    }
    if (first == 0 || last == 0) {
        *message = "tick 0 in " + Quote(token) + ": ticks count from 1";
        return false;
    }
    if (first > last) {
        *message = "range " + Quote(token) + " runs backwards";
        return false;
    }
    rule->first = first;
    rule->last = last;
    return true;
}

bool ParseLine(std::string_view line, int lineNo, Script* out, std::string* message) {
    if (line.size() > MAX_SCRIPT_LINE) {
        *message = "line is longer than " + std::to_string(MAX_SCRIPT_LINE) + " characters";
        return false;
    }
    // Control bytes mean this is not a script at all (a binary file, a NUL...).
    for (char ch : line) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c < 0x20 && c != '\t') || c == 0x7F) {
            *message = "unexpected byte " + Hex(c) + " (not a text script?)";
            return false;
        }
    }
    line = line.substr(0, line.find('#'));

    std::vector<std::string_view> tokens;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        const size_t start = i;
        while (i < line.size() && !IsBlank(line[i])) ++i;
        if (i > start) tokens.push_back(line.substr(start, i - start));
    }
    if (tokens.empty()) return true;

    Rule rule;
    rule.line = lineNo;
    if (!ParseTicks(tokens[0], &rule, message)) return false;
    if (tokens.size() == 1) {
        *message = "tick " + Quote(tokens[0]) + " names no key";
        return false;
    }
    for (size_t t = 1; t < tokens.size(); ++t) {
        const KeyName* key = nullptr;
        for (const KeyName& k : KEY_NAMES) {
            if (tokens[t] == k.name) key = &k;
        }
        if (key == nullptr) {
            *message = "unknown key " + Quote(tokens[t]) +
                       " (keys: LEFT RIGHT UP DOWN SPACE RETURN ESCAPE F1)";
            return false;
        }
        if (key->held != 0) {
            rule.held |= key->held;
        } else {
            rule.events.push_back(key->event);
        }
    }
    out->rules.push_back(std::move(rule));
    return true;
}

}  // namespace

bool ParseScript(std::string_view text, Script* out, ScriptError* err) {
    Script script;
    int lineNo = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        ++lineNo;
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::string message;
        if (!ParseLine(line, lineNo, &script, &message)) {
            err->line = lineNo;
            err->message = std::move(message);
            return false;
        }
    }
    *out = std::move(script);
    return true;
}

bool LoadScript(const std::string& path, Script* out, std::string* error) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    std::error_code ec;
    if (!in || std::filesystem::is_directory(path, ec)) {
        *error = "cannot read " + path + ": " +
                 (errno != 0 ? std::strerror(errno) : "not a readable file");
        return false;
    }
    // Read in blocks rather than by size, so that pipes (/dev/stdin) work too.
    std::string text;
    char block[1 << 16];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        text.append(block, static_cast<size_t>(in.gcount()));
        if (text.size() > MAX_SCRIPT_BYTES) {
            *error = "cannot read " + path + ": over 64 MiB, not a script";
            return false;
        }
    }
    if (in.bad()) {
        *error = "cannot read " + path + ": read error";
        return false;
    }
    ScriptError bad;
    if (!ParseScript(text, out, &bad)) {
        *error = path + ":" + std::to_string(bad.line) + ": " + bad.message;
        return false;
    }
    return true;
}

void KeysFromHeld(uint8_t held, uint8_t keys[256]) {
    std::memset(keys, 0, 256);
    for (const auto& key : HELD_KEYS) {
        if (held & key.bit) keys[key.code] = KEY_HELD;
    }
}

uint8_t HeldFromKeys(const uint8_t keys[256]) {
    uint8_t held = 0;
    for (const auto& key : HELD_KEYS) {
        if (keys[key.code] & KEY_HELD) held |= key.bit;
    }
    return held;
}

ScriptCursor::ScriptCursor(const Script& script) : script_(script) {
    for (size_t r = 0; r < script.rules.size(); ++r) {
        const Rule& rule = script.rules[r];
        edges_.push_back({rule.first, static_cast<int>(r), true});
        edges_.push_back({rule.last + 1, static_cast<int>(r), false});
    }
    std::stable_sort(edges_.begin(), edges_.end(),
                     [](const Edge& a, const Edge& b) { return a.tick < b.tick; });
}

const TickInput& ScriptCursor::Next() {
    ++tick_;
    while (edgeAt_ < edges_.size() && edges_[edgeAt_].tick <= tick_) {
        const Edge& edge = edges_[edgeAt_++];
        const Rule& rule = script_.rules[edge.rule];
        const int step = edge.starts ? 1 : -1;
        for (int k = 0; k < 6; ++k) {
            if (rule.held & (1 << k)) counts_[k] += step;
        }
        if (rule.events.empty()) continue;
        const auto at = std::lower_bound(openEventRules_.begin(), openEventRules_.end(), edge.rule);
        if (edge.starts) {
            openEventRules_.insert(at, edge.rule);
        } else {
            openEventRules_.erase(at);
        }
    }
    input_.held = 0;
    for (int k = 0; k < 6; ++k) {
        if (counts_[k] > 0) input_.held |= static_cast<uint8_t>(1 << k);
    }
    input_.events.clear();
    for (int r : openEventRules_) {
        const auto& events = script_.rules[r].events;
        input_.events.insert(input_.events.end(), events.begin(), events.end());
    }
    return input_;
}

}  // namespace record
