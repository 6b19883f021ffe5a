// Recording, replay and trace on the main loop, in the runner's formats: the game, the runner and
// the page write and read them with the same hooks, so each replays and traces the others' runs.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "record/script.h"
#include "record/trace.h"
#include "shell/tickhook.h"

namespace record {

// The trace: line 0 at start-up, then one line per tick.
class TraceHook final : public TickHook {
public:
    struct Options {
        bool flushEveryTick = true;  // the game: each line on disk before the next tick
        bool sayErrors = true;       // a write error gets one stderr line; play goes on
    };
    TraceHook() : TraceHook(Options{}) {}
    explicit TraceHook(Options options) : options_(options) {}
    // False (errno set) when the file could not be created. It is made only once the game has
    // started, so a run that cannot start leaves whatever was there. Keeps the sound service's
    // call log.
    bool Open(const std::string& path);
    void Started() override;
    void AfterTick(int64_t tick) override;
    void Finished(int64_t ticks) override;
    // Why the trace stopped, or empty: every line written so far is whole.
    const std::string& Error() const { return error_; }

private:
    void Write(int64_t tick);
    void Stop();
    Options options_;
    std::string path_;
    std::string error_;
    TraceFile file_;
};

// --replay, the runner's --input: each tick the script names holds its keys and sends its
// Escapes and F1s; the player's keys and pads count again once it has run out.
class ScriptFeed final : public KeyFeed {
public:
    explicit ScriptFeed(Script script);
    int64_t LastTick() const override { return last_; }
    void Feed(int64_t tick, uint8_t keys[256], std::vector<int>* keyDowns) override;

    ScriptFeed(const ScriptFeed&) = delete;
    ScriptFeed& operator=(const ScriptFeed&) = delete;

private:
    Script script_;
    ScriptCursor cursor_;  // over script_
    int64_t last_ = 0;     // the last tick the script names
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
// Whether two paths name one file, so that writing one would lose the other: the same device
// and inode when both exist (hard and symbolic links included), else the same absolute name.
// Devices such as /dev/null lose nothing and never count.
bool SameFile(const std::string& a, const std::string& b);

// A file named on the command line: the option that names it, and whether the run writes it.
struct NamedFile {
    std::string option;
    std::string path;  // empty: not given; "-" is standard output and never clashes
    bool written = false;
};
// Empty, or one line naming the first two files that are one where at least one is written.
std::string FileClash(const std::vector<NamedFile>& files);

// One script rule: "FIRST-LAST KEYS" (or "TICK KEYS") with the held keys in script order.
std::string RuleLine(int64_t first, int64_t last, uint8_t held);

}  // namespace record
