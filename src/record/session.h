// The game's own recording, replay and trace: tick hooks on the main loop that write and read
// the runner's formats, so the runner can replay a real session and trace it the same way.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "record/script.h"
#include "record/trace.h"
#include "shell/tickhook.h"

namespace record {

// --trace: the runner's trace of the real game, line 0 at start-up, then one line per tick,
// flushed as it goes. A write error stops the trace with one stderr line; play goes on.
class TraceHook final : public TickHook {
public:
    // False (errno set) when the file could not be created. It is made only once the game has
    // started, so a run that cannot start leaves whatever was there. Keeps the sound service's
    // call log.
    bool Open(const std::string& path);
    void Started() override;
    void AfterTick(int64_t tick) override;
    void Finished(int64_t ticks) override;

private:
    void Write(int64_t tick);
    std::string path_;
    TraceFile file_;
};

// --replay: each tick the script names holds its keys and sends its Escapes and F1s; the live
// keys and pads count again once it has run out.
class ReplayHook final : public TickHook {
public:
    explicit ReplayHook(Script script);
    void BeforeTick(int64_t tick) override;
    bool TakesLiveKeys() const override;

private:
    Script script_;
    ScriptCursor cursor_;
    int64_t last_ = 0;  // the last tick the script names
    int64_t tick_ = 0;
};

// --record: the keys every tick read, as script rules with runs of ticks merged, and the
// Escapes and F1s at the ticks they came before. Each tick is on disk when the next starts:
// the rule of the run in progress is rewritten in place as it grows.
class RecordHook final : public TickHook {
public:
    ~RecordHook() override;
    // heading: the comment line at the top. False (errno set) when the file could not be
    // created; as with the trace, it is made only once the game has started.
    bool Open(const std::string& path, const std::string& heading);
    void Started() override;
    void AfterTick(int64_t tick) override;
    void KeyDown(int vk, int64_t tick) override;
    void Finished(int64_t ticks) override;

private:
    void WriteEvents(int64_t tick);
    void Put(const std::string& text);
    void Fail();
    std::string path_;
    std::string heading_;
    std::FILE* file_ = nullptr;
    bool seekable_ = false;
    long runAt_ = -1;  // where the line of the run in progress starts; -1: no run
    int64_t runFirst_ = 0;
    int64_t runLast_ = 0;
    uint8_t runHeld_ = 0;
    std::vector<KeyEvent> pending_;  // before the next tick
};

// Whether the file could be written: it is writable, or its folder takes new files; errno
// says why not.
bool Writable(const std::string& path);
// Whether two paths name one file (existing or not), so that writing one would lose the other.
bool SameFile(const std::string& a, const std::string& b);

// One script rule: "FIRST-LAST KEYS" (or "TICK KEYS") with the held keys in script order.
std::string RuleLine(int64_t first, int64_t last, uint8_t held);

}  // namespace record
