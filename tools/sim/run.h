// The runner's run, one tick at a time: the runner loops it to the end, and the page steps it a
// few ticks per animation frame for a traced replay, so both set the game up alike (the script
// as the key feed, the trace hook, only snapshot ticks painted) and give the same trace.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "options.h"
#include "record/session.h"

namespace sim {

class Run {
public:
    // How a message reaches the user: one line, the program's name before it.
    explicit Run(std::function<void(const std::string&)> say) : say_(std::move(say)) {}
    ~Run();
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    // Reads the script and makes sure the trace can be written; false (the message said) when
    // the input is bad: nothing has started, nothing is written.
    bool Prepare(const Options& options);
    // Starts the game in the options' scene (the caller has installed the scenes and set the
    // assets) and writes the start-up snapshots. False when it could not start (the renderer's
    // message is out); the run then ends at once.
    bool Start();
    // Runs the next tick and writes what it owes (trace, snapshots, afterTick); false once the
    // run is over: every tick ran, Escape ended it, or something could not be written.
    bool Next();
    // Paints the next tick even when no snapshot asks for it (the page shows its progress).
    void PaintNext() { paintNext_ = true; }
    // Stops the game: the exit status, 0 or 1 (its message said).
    int Finish();

    int64_t Tick() const { return tick_; }
    int64_t Ticks() const { return options_.ticks; }
    // Called after each tick's own output; false fails the run (the runner's sound capture).
    std::function<bool()> afterTick;

private:
    bool TraceOk();
    bool SnapshotsOf(int64_t tick);

    std::function<void(const std::string&)> say_;
    Options options_;
    std::unique_ptr<record::ScriptFeed> feed_;
    // Written in large blocks; a write error ends the run.
    record::TraceHook trace_{{.flushEveryTick = false, .sayErrors = false}};
    int64_t tick_ = 0;
    bool ok_ = true;
    bool over_ = false;
    bool paintNext_ = false;
};

}  // namespace sim
