// The real game with a watch on its main loop: at exit one line of pace figures (ticks updated,
// frames drawn, seconds since the frame clock started, when the first frame was presented, in
// wall-clock seconds since the epoch and in processor seconds), for startup.sh and realtime.sh.
// Usage: tinselrun-measured [--spin]   (--spin: the idle pass spins instead of sleeping)
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/clock.h"
#include "scenes/scenetable.h"
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

}  // namespace

int main(int argc, char** argv) {
    const bool spin = argc > 1 && std::strcmp(argv[1], "--spin") == 0;
    if (argc > 2 || (argc == 2 && !spin)) {
        std::fprintf(stderr, "usage: tinselrun-measured [--spin]\n");
        return 2;
    }
    PaceWatch watch(spin);
    InstallScenes();
    const int status = GameMain(GameStart{}, &watch);
    watch.Print();
    return status;
}
