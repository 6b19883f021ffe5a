// The runner's input script: which keys each tick holds and which key-down events come before it.
//
//   # ticks are 1-based and inclusive
//   1-120    RETURN
//   121      SPACE RETURN
//   400      F1
//
// LEFT RIGHT UP DOWN SPACE RETURN are held during the ticks of their rule; ESCAPE and F1 are
// key-down events delivered before each tick of their rule. Rules may overlap and add up.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace record {

// Held keys of one tick, one bit each.
enum : uint8_t {
    HOLD_LEFT = 1 << 0,
    HOLD_RIGHT = 1 << 1,
    HOLD_UP = 1 << 2,
    HOLD_DOWN = 1 << 3,
    HOLD_SPACE = 1 << 4,
    HOLD_RETURN = 1 << 5,
};

enum class KeyEvent : uint8_t { Escape, F1 };

// The highest tick a script may name; keeps every sum and count of ticks inside 64 bits.
constexpr int64_t MAX_SCRIPT_TICK = 2147483647;
// Longer lines are refused rather than read on and on.
constexpr size_t MAX_SCRIPT_LINE = 1024;

struct Rule {
    int64_t first = 0;
    int64_t last = 0;
    uint8_t held = 0;
    std::vector<KeyEvent> events;  // in the order the line gives them
    int line = 0;
};

struct Script {
    std::vector<Rule> rules;  // in line order
};

struct ScriptError {
    int line = 0;  // 1-based
    std::string message;
};

// Parses a whole script. On failure returns false and fills err with the first bad line.
bool ParseScript(std::string_view text, Script* out, ScriptError* err);

// Reads and parses a script file (a pipe works too). False with a one-line message:
// "cannot read FILE: why" or "FILE:LINE: what is wrong there".
bool LoadScript(const std::string& path, Script* out, std::string* error);

// The game's keyboard snapshot (256 bytes, 0x80 = held) of a tick's held keys, and back.
void KeysFromHeld(uint8_t held, uint8_t keys[256]);
uint8_t HeldFromKeys(const uint8_t keys[256]);

// The input of one tick.
struct TickInput {
    uint8_t held = 0;
    std::vector<KeyEvent> events;  // rules in line order, each rule's events in its order
};

// Walks the ticks 1, 2, 3... in order; costs only the rules that start, end or send events,
// so huge ranges and long runs stay cheap.
class ScriptCursor {
public:
    explicit ScriptCursor(const Script& script);
    // The input of the next tick (the first call gives tick 1).
    const TickInput& Next();
    int64_t Tick() const { return tick_; }

private:
    struct Edge {
        int64_t tick;
        int rule;
        bool starts;
    };
    const Script& script_;
    std::vector<Edge> edges_;  // by tick, ends before starts
    size_t edgeAt_ = 0;
    int counts_[6] = {};               // how many open rules hold each key
    std::vector<int> openEventRules_;  // open rules that send events, in line order
    int64_t tick_ = 0;
    TickInput input_;
};

}  // namespace record
