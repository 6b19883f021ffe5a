#include "run.h"

#include <cerrno>
#include <cstring>

#include "shell/dxmain.h"
#include "shell/game.h"
#include "shell/graphics.h"
#include "shell/tickhook.h"

namespace sim {

Run::~Run() {
    SetKeyFeed(nullptr);
}

bool Run::Prepare(const Options& options) {
    options_ = options;
    std::string error;
    if (!options.inputPath.empty()) {
        record::Script script;
        if (!record::LoadScript(options.inputPath, &script, &error)) {
            say_(error);
            return false;
        }
        feed_ = std::make_unique<record::ScriptFeed>(std::move(script));
    }
    if (!options.tracePath.empty() && !trace_.Open(options.tracePath)) {
        say_("cannot write " + options.tracePath + ": " + std::strerror(errno));
        return false;
    }
    return true;
}

bool Run::TraceOk() {
    if (trace_.Error().empty()) return true;
    say_("cannot write " + options_.tracePath + ": " + trace_.Error());
    return false;
}

// Writes every snapshot asked for this tick, of the frame its draw pass painted.
bool Run::SnapshotsOf(int64_t tick) {
    for (const Snapshot& shot : options_.snapshots) {
        std::string why;
        if (shot.tick == tick && !plat::SavePicture(shot.path.c_str(), &why)) {
            say_("cannot write " + shot.path + ": " + why);
            return false;
        }
    }
    return true;
}

bool Run::Start() {
    if (feed_) SetKeyFeed(feed_.get());
    if (!options_.tracePath.empty()) AddTickHook(&trace_);
    GameStart start;
    start.scene = options_.scene;
    // Every tick is drawn, as in the game, but only snapshot ticks are painted.
    g_rasterize = false;
    if (StartGame(start) != START_OK) {
        ClearTickHooks();
        SetKeyFeed(nullptr);
        return false;
    }
    ok_ = TraceOk();
    // Tick 0 is the state start-up left, which the game never draws: paint it for its
    // snapshots without letting that pass leave anything (the sprite transform) for tick 1's.
    bool startUpShot = false;
    for (const Snapshot& shot : options_.snapshots) startUpShot = startUpShot || shot.tick == 0;
    if (ok_ && startUpShot) {
        const Matrix2D kept = g_pSprite->Transform();
        g_rasterize = true;
        DrawFrame();
        g_pSprite->SetTransform(kept);
        ok_ = SnapshotsOf(0);
    }
    return true;
}

bool Run::Next() {
    if (!ok_ || over_ || tick_ >= options_.ticks) return false;
    const int64_t tick = tick_ + 1;
    bool shot = paintNext_;
    for (const Snapshot& s : options_.snapshots) shot = shot || s.tick == tick;
    paintNext_ = false;
    g_rasterize = shot;
    const int result = StepTick();
    if (QuitPosted()) {
        over_ = true;
        return false;
    }
    if (result != FRAME_UPDATE_DRAW) {
        say_("tick " + std::to_string(tick) + " was not due as one whole frame (clock " +
             std::to_string(result) + ")");
        ok_ = false;
        return false;
    }
    tick_ = tick;
    ok_ = TraceOk() && SnapshotsOf(tick) && (!afterTick || afterTick());
    return ok_ && tick_ < options_.ticks;
}

int Run::Finish() {
    int status = ok_ ? 0 : 1;
    StopGame();
    ClearTickHooks();
    SetKeyFeed(nullptr);
    if (status == 0 && !TraceOk()) status = 1;
    return status;
}

}  // namespace sim
