// The real game with a watch on its main loop: at exit one line of pace figures (ticks updated,
// frames drawn, seconds since the frame clock started, when the first frame was presented, in
// wall-clock seconds since the epoch and in processor seconds), for startup.sh and realtime.sh.
// Usage: tinselrun-measured [--spin] [--speed PERCENT]   (--spin: the idle pass spins instead of
// sleeping; --speed: the game-speed assist, as the player's desk sets it)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/clock.h"
#include "scenes/scenetable.h"
#include "shell/desk.h"
#include "shell/dxmain.h"

namespace {

class PaceWatch : public LoopObserver {
public:
    explicit PaceWatch(bool spin) : spin_(spin) {}

    void Started(double clockStartMs) override { clockStart_ = clockStartMs; }
    void Passed(int frameResult) override {
        if (frameResult >= FRAME_UPDATE) ++ticks_;
        if (frameResult != FRAME_UPDATE_DRAW) return;
        if (frames_++ == 0) {
            firstAt_ =
                std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
                    .count();
            firstCpu_ = static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
        }
    }
    bool Waited() override { return spin_; }
    void Finished() override { seconds_ = (plat::ClockMs() - clockStart_) / 1000.0; }

    void Print() const {
        std::printf(
            "tinselrun-stats ticks=%lld frames=%lld seconds=%.3f first_frame_at=%.6f "
            "first_frame_cpu=%.3f\n",
            ticks_, frames_, seconds_, firstAt_, firstCpu_);
    }

private:
    bool spin_;
    double clockStart_ = 0.0;
    long long ticks_ = 0;
    long long frames_ = 0;
    double seconds_ = 0.0;
    double firstAt_ = -1.0;
    double firstCpu_ = -1.0;
};

// The plain desk with the frame clock slowed as the game-speed assist slows it.
class SlowDesk final : public DeskHook {
public:
    explicit SlowDesk(int percent) : percent_(percent) {}
    double FramePeriod() const override { return double(FRAME_PERIOD) / (percent_ / 100.0); }

private:
    int percent_;
};

}  // namespace

int main(int argc, char** argv) {
    bool spin = false;
    int speed = 100;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--spin") == 0) {
            spin = true;
        } else if (std::strcmp(argv[i], "--speed") == 0 && i + 1 < argc) {
            speed = std::atoi(argv[++i]);
        } else {
            speed = 0;
            break;
        }
    }
    if (speed < 50 || speed > 100 || speed % 10 != 0) {
        std::fprintf(stderr, "usage: tinselrun-measured [--spin] [--speed 50|60|...|100]\n");
        return 2;
    }
    PaceWatch watch(spin);
    SlowDesk desk(speed);
    SetDesk(&desk);
    InstallScenes();
    const int status = GameMain(GameStart{}, &watch);
    SetDesk(nullptr);
    watch.Print();
    return status;
}
