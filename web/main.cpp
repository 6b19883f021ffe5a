// The page's program: the game in a browser tab. It plays through the shell's own frame pass,
// one animation frame at a time, with the player's desk; or, for a traced replay, it steps the
// runner's own run a few ticks per frame and hands the page the runner's trace.
#include <emscripten.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/desk.h"
#include "app/settings.h"
#include "options.h"
#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/renderer.h"
#include "platform/web/web.h"
#include "record/session.h"
#include "run.h"
#include "scenes/scenetable.h"
#include "shell/dxmain.h"
#include "shell/frameclock.h"
#include "shell/game.h"
#include "shell/tickhook.h"

namespace {

constexpr const char* TRACE_PATH = "/trace.jsonl";
constexpr const char* RECORDING_PATH = "/recording.txt";
constexpr const char* SHOT_PATH = "/screenshot.png";
// A traced replay runs this long per animation frame, so that the page stays responsive.
constexpr double TRACE_SLICE_MS = 12.0;

// clang-format off
EM_JS(void, PageSay, (const char* text), {
    if (Module.showMessage) Module.showMessage(UTF8ToString(text));
});
EM_JS(void, PageTraceDone, (const char* trace, int status), {
    if (Module.traceDone) Module.traceDone(UTF8ToString(trace), status);
});
EM_JS(void, PageTickTime, (double ms, double ticks), {
    if (window.tinselrunStats) {
        window.tinselrunStats.tickMs = ms;
        window.tinselrunStats.ticksTimed = ticks;
    }
});
EM_JS(void, PageEnded, (), {
    if (Module.gameEnded) Module.gameEnded();
});
EM_JS(void, PageOffer, (const char* path, const char* name, const char* type), {
    if (Module.offerFile) Module.offerFile(UTF8ToString(path), UTF8ToString(name), UTF8ToString(type));
});
EM_JS(void, PageStats, (double ticks, double frames, double clockStart, double passMs), {
    if (Module.noteFrame) Module.noteFrame(ticks, frames, clockStart, passMs);
});
EM_JS(char*, StorageGet, (const char* key), {
    try {
        var text = window.localStorage.getItem(UTF8ToString(key));
        if (text === null) return 0;
        var size = lengthBytesUTF8(text) + 1;
        var out = _malloc(size);
        stringToUTF8(text, out, size);
        return out;
    } catch (e) {
        return 0;
    }
});
EM_JS(int, StorageSet, (const char* key, const char* text), {
    try {
        if (text) window.localStorage.setItem(UTF8ToString(key), UTF8ToString(text));
        else window.localStorage.removeItem(UTF8ToString(key));
        return 1;
    } catch (e) {
        return 0;
    }
});
// clang-format on

// One line on the console and on the page, whatever bytes the message carries.
void Say(const std::string& message) {
    std::string line;
    for (char c : message) line += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    std::fprintf(stderr, "tinselrun: %s\n", line.c_str());
    PageSay(line.c_str());
}

std::string ReadWhole(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Stamp() {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return stamp;
}

// The settings in the page's localStorage; a damaged entry is kept aside under its own key.
class LocalStorageSettings final : public SettingsStore {
public:
    SettingsRead Load(std::string* text, std::string* /*why*/) override {
        char* got = StorageGet(KEY);
        if (got == nullptr) return SettingsRead::Missing;
        *text = got;
        std::free(got);
        return SettingsRead::Read;
    }
    bool Save(const std::string& text, std::string* why) override {
        if (StorageSet(KEY, text.c_str())) return true;
        *why = "the browser refuses to store them";
        return false;
    }
    bool SetAside(std::string* how) override {
        char* got = StorageGet(KEY);
        const bool kept = got != nullptr && StorageSet(BAD_KEY, got) && StorageSet(KEY, nullptr);
        std::free(got);
        *how = kept ? std::string("the entry is kept as ") + BAD_KEY : "the entry stays as it is";
        return kept;
    }
    std::string Name() const override { return std::string("localStorage ") + KEY; }
    std::string Place() const override { return "localStorage"; }

private:
    static constexpr const char* KEY = "tinselrun.settings";
    static constexpr const char* BAD_KEY = "tinselrun.settings.bad";
};

// The player's desk in a page: the desktop's (pause, mute, the kept settings), a first screen
// that holds the game until a key, click or touch lets sound play, and the screenshot on F9,
// since F12 belongs to the browser.
class PageDesk final : public DeskHook {
public:
    explicit PageDesk(PlayerDesk* desk) : desk_(desk) {}
    void Started() override { desk_->Started(); }
    bool TakeEvent(const plat::Event& event) override {
        if (event.type == plat::EventType::KeyDown) {
            const int key = event.key & 0xFF;
            // The key that lifts the first screen does nothing else.
            if (!open_) return true;
            if (key == plat::VK_F12) return true;
            if (key == plat::web::VK_SCREENSHOT_PAGE) {
                if (!event.repeat) Screenshot();
                return true;
            }
        }
        return desk_->TakeEvent(event);
    }
    void SwitchFullscreen() override { desk_->SwitchFullscreen(); }
    bool ReadKeys(uint8_t keys[256]) override { return desk_->ReadKeys(keys); }
    double FramePeriod() const override { return desk_->FramePeriod(); }
    void DrawOver() override { desk_->DrawOver(); }
    bool Holding() const override { return !open_ || desk_->Holding(); }
    void HeldPass() override {
        if (open_) return desk_->HeldPass();
        if (!gestured_) return;
        open_ = true;
        StartFrameClock();  // the first screen's time is not owed
        clockStart_ = emscripten_get_now();
    }
    void Gesture() { gestured_ = true; }
    bool Open() const { return open_; }
    double ClockStart() const { return clockStart_; }  // page time, when the first tick was due
    PlayerDesk& Player() { return *desk_; }

    static void Screenshot() {
        std::string why;
        if (plat::SavePicture(SHOT_PATH, &why)) {
            PageOffer(SHOT_PATH, ("tinselrun-" + Stamp() + ".png").c_str(), "image/png");
        } else {
            std::fprintf(stderr, "tinselrun: cannot take the screenshot: %s\n", why.c_str());
        }
    }

private:
    PlayerDesk* desk_;
    bool open_ = false;
    bool gestured_ = false;
    double clockStart_ = 0.0;
};

// What the page runs: its mode and the runner's options the query gave.
struct Page {
    bool trace = false;
    bool endAfterTicks = false;  // play: --ticks given, the run ends there
    sim::Options options;
} g_page;

// A traced replay: the runner's run.
std::unique_ptr<sim::Run> g_run;

// Play: the player's desk, the recording of the run, a replay's keys.
LocalStorageSettings g_storage;
KeptSettings g_kept;
std::unique_ptr<PlayerDesk> g_playerDesk;
std::unique_ptr<PageDesk> g_desk;
std::unique_ptr<record::RecordHook> g_recorder;
std::unique_ptr<record::ScriptFeed> g_replay;
bool g_playing = false;
bool g_gestured = false;
int64_t g_frames = 0;

// Time in unpainted ticks of a traced run, for the benchmark's wasm tick.
double g_tickMs = 0.0;
int64_t g_ticksTimed = 0;

void TraceFrame() {
    const double start = emscripten_get_now();
    bool goesOn = true;
    while (goesOn && emscripten_get_now() - start < TRACE_SLICE_MS) {
        const double before = emscripten_get_now();
        goesOn = g_run->Next();
        g_tickMs += emscripten_get_now() - before;
        ++g_ticksTimed;
    }
    if (goesOn) {
        g_run->PaintNext();  // the canvas shows where the run is
        goesOn = g_run->Next();
    }
    if (goesOn) return;
    emscripten_cancel_main_loop();
    int status = g_run->Finish();
    if (status == 0 && !plat::web::AudioCaptureError().empty()) {
        Say("cannot write " + g_page.options.audioPath + ": " + plat::web::AudioCaptureError());
        status = 1;
    }
    g_run.reset();
    PageTickTime(g_tickMs, static_cast<double>(g_ticksTimed));
    PageTraceDone(ReadWhole(TRACE_PATH).c_str(), status);
}

void EndPlay() {
    emscripten_cancel_main_loop();
    g_playing = false;
    StopGame();
    SetDesk(nullptr);
    ClearTickHooks();
    SetKeyFeed(nullptr);
    PageEnded();
}

void PlayFrame() {
    const double start = emscripten_get_now();
    const int64_t limit = g_page.endAfterTicks ? g_page.options.ticks : INT64_MAX;
    // Every pass the clock asks for: catch-up runs its ticks back to back, and it never spins.
    for (int r = 1; r != 0 && TicksRun() < limit && !QuitPosted();) {
        r = FramePass();
        if (r == FRAME_UPDATE_DRAW) ++g_frames;
    }
    if (g_desk->Open()) {
        PageStats(static_cast<double>(TicksRun()), static_cast<double>(g_frames),
                  g_desk->ClockStart(), emscripten_get_now() - start);
    }
    if (QuitPosted() || TicksRun() >= limit) EndPlay();
}

bool StartPlay() {
    g_kept.Load(&g_storage);
    Settings settings = g_kept.Values();
    settings.fullscreen = false;  // the browser grants full screen only to a key or a click
    g_playerDesk = std::make_unique<PlayerDesk>(settings, &g_kept);
    g_desk = std::make_unique<PageDesk>(g_playerDesk.get());
    if (g_gestured) g_desk->Gesture();
    SetDesk(g_desk.get());
    g_recorder = std::make_unique<record::RecordHook>();
    if (g_recorder->Open(RECORDING_PATH, RecordingHeading())) AddTickHook(g_recorder.get());
    if (!g_page.options.inputPath.empty()) {
        record::Script script;
        std::string error;
        if (!record::LoadScript(g_page.options.inputPath, &script, &error)) {
            Say(error);
            return false;
        }
        g_replay = std::make_unique<record::ScriptFeed>(std::move(script));
        SetKeyFeed(g_replay.get());
    }
    GameStart start;
    start.scene = g_page.options.scene;
    if (StartGame(start) != START_OK) {
        Say("WebGL could not be started in this browser, so the game cannot be shown");
        return false;
    }
    g_frames = 0;
    g_playing = true;
    emscripten_set_main_loop(PlayFrame, 0, 0);
    return true;
}

}  // namespace

extern "C" {

// A key, click or touch: sound may play, and the first screen lets the game go.
EMSCRIPTEN_KEEPALIVE void tinselrun_gesture() {
    g_gestured = true;
    plat::web::GestureSeen();
    if (g_desk) g_desk->Gesture();
}

EMSCRIPTEN_KEEPALIVE void tinselrun_restart() {
    if (g_playing || g_page.trace) return;
    g_replay.reset();
    g_page.options.inputPath.clear();  // a second run is the player's own
    g_page.endAfterTicks = false;
    StartPlay();
}

EMSCRIPTEN_KEEPALIVE void tinselrun_screenshot() {
    if (g_playing) PageDesk::Screenshot();
}

// The run so far as a recording, with the closing tick count that a replay runs to.
EMSCRIPTEN_KEEPALIVE void tinselrun_save_recording() {
    if (g_page.trace) return;
    std::string text = ReadWhole(RECORDING_PATH);
    if (g_playing) text += "# " + std::to_string(TicksRun()) + " ticks\n";
    const std::string path = "/recording-offer.txt";
    std::ofstream(path, std::ios::binary) << text;
    PageOffer(path.c_str(), ("tinselrun-" + Stamp() + ".txt").c_str(), "text/plain");
}

// volume | mute << 8 | pause on focus loss << 9, or -1 while nothing plays.
EMSCRIPTEN_KEEPALIVE int tinselrun_settings() {
    if (!g_playerDesk) return -1;
    const Settings& s = g_playerDesk->Current();
    return s.volume | (s.mute ? 1 << 8 : 0) | (s.pauseOnFocusLoss ? 1 << 9 : 0);
}

EMSCRIPTEN_KEEPALIVE void tinselrun_set_settings(int volume, int mute, int pauseOnFocusLoss) {
    if (!g_playerDesk) return;
    Settings s = g_playerDesk->Current();
    s.volume = volume < 0 ? 0 : volume > 100 ? 100 : volume;
    s.mute = mute != 0;
    s.pauseOnFocusLoss = pauseOnFocusLoss != 0;
    g_playerDesk->Adopt(s);
}

}  // extern "C"

// argv: "play" or "trace", then the runner's options the page's query stands for.
int main(int argc, char** argv) {
    InstallScenes();
    g_page.trace = argc > 1 && std::string(argv[1]) == "trace";
    std::vector<std::string> args(argv + std::min(argc, 2), argv + argc);
    for (const std::string& arg : args)
        g_page.endAfterTicks = g_page.endAfterTicks || arg == "--ticks";
    std::string error;
    if (!sim::ParseOptions(args, &g_page.options, &error)) {
        Say(error);
        return 0;
    }
    if (g_page.trace) {
        // The runner's run: a stepped clock, no live input, no desk.
        plat::web::UseSteppedClock(true);
        plat::web::SetLiveInput(false);
        mkdir("/snap", 0755);
        g_run = std::make_unique<sim::Run>(Say);
        if (!g_run->Prepare(g_page.options)) {
            PageTraceDone("", 2);
            return 0;
        }
        const std::string& audio = g_page.options.audioPath;
        if (!audio.empty() && !plat::web::CaptureAudioTo(audio)) {
            Say("cannot write " + audio + ": " + plat::web::AudioCaptureError());
            PageTraceDone("", 2);
            return 0;
        }
        // The sound up to the clock's time, as the runner captures it.
        g_run->afterTick = [] {
            if (plat::web::FeedAudio()) return true;
            Say("cannot write " + g_page.options.audioPath + ": " + plat::web::AudioCaptureError());
            return false;
        };
        if (!g_run->Start()) {
            PageTraceDone("", 1);
            return 0;
        }
        emscripten_set_main_loop(TraceFrame, 0, 0);
        // Not tied to the display's frames: a traced run goes as fast as it can.
        emscripten_set_main_loop_timing(EM_TIMING_SETIMMEDIATE, 0);
        return 0;
    }
    StartPlay();
    return 0;
}
