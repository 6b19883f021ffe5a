#include "shell/controls.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/audio.h"
#include "platform/clock.h"
#include "platform/renderer.h"
#include "shell/dxmain.h"
#include "shell/graphics.h"
#include "shell/settings.h"

namespace fs = std::filesystem;

bool g_paused = false;

// clang-format off
const char* const PAUSED_TEXT[PAUSED_HEIGHT] = {
    "####...###..#...#..####.#####.####.",
    "#...#.#...#.#...#.#.....#.....#...#",
    "#...#.#...#.#...#.#.....#.....#...#",
    "####..#####.#...#..###..####..#...#",
    "#.....#...#.#...#.....#.#.....#...#",
    "#.....#...#.#...#.....#.#.....#...#",
    "#.....#...#..###..####..#####.####.",
};
// clang-format on

namespace {

constexpr double REPAINT_MS = 100.0;
constexpr int CAPTION_SCALE = 8;  // screen pixels per font pixel
constexpr uint32_t SHADE = 0xA0000000;
constexpr uint32_t OUTLINE = 0xFF0E0C1C;
constexpr uint32_t SHADOW = 0xA0000000;
double g_lastPaint = -1e9;
std::vector<plat::FillRect> g_caption;

uint32_t Mix(uint32_t a, uint32_t b, int num, int den) {
    uint32_t out = 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8) {
        const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        out |= static_cast<uint32_t>(ca + (cb - ca) * num / den) << shift;
    }
    return out;
}

// The caption as the pictures draw their headings: shadow, outline, then a gold gradient.
const std::vector<plat::FillRect>& Caption() {
    if (!g_caption.empty()) return g_caption;
    const int s = CAPTION_SCALE;
    const int left = (800 - PAUSED_WIDTH * s) / 2, top = (600 - PAUSED_HEIGHT * s) / 2;
    for (int pass = 0; pass < 3; ++pass) {
        for (int row = 0; row < PAUSED_HEIGHT; ++row) {
            for (int col = 0; col < PAUSED_WIDTH; ++col) {
                if (PAUSED_TEXT[row][col] != '#') continue;
                const int x = left + col * s, y = top + row * s;
                if (pass == 0) g_caption.push_back({x + s, y + s, s, s, SHADOW});
                if (pass == 1) g_caption.push_back({x - 2, y - 2, s + 4, s + 4, OUTLINE});
                if (pass == 2) {
                    const uint32_t fill = Mix(0xFFFFE46E, 0xFFE88028, row, PAUSED_HEIGHT - 1);
                    g_caption.push_back({x, y, s, s, fill});
                }
            }
        }
    }
    return g_caption;
}

void ApplySound() {
    plat::SetMasterVolume(static_cast<float>(g_settings.volume) / 100.0f);
    plat::SetMuted(g_settings.mute);
}

// The folder the player keeps pictures in: $XDG_PICTURES_DIR, then the one named in
// user-dirs.dirs, then ~/Pictures, else the current folder.
fs::path PicturesFolder() {
    std::error_code ec;
    const char* env = std::getenv("XDG_PICTURES_DIR");
    if (env != nullptr && env[0] == '/' && fs::is_directory(env, ec)) return env;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') return ".";
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const fs::path dirs =
        (config != nullptr && config[0] == '/' ? fs::path(config) : fs::path(home) / ".config") /
        "user-dirs.dirs";
    std::ifstream in(dirs);
    std::string line;
    const std::string key = "XDG_PICTURES_DIR=\"";
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) != 0 || line.size() < key.size() + 1 || line.back() != '"') continue;
        std::string value = line.substr(key.size(), line.size() - key.size() - 1);
        if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
        if (!value.empty() && value[0] == '/' && fs::is_directory(value, ec)) return value;
    }
    const fs::path pictures = fs::path(home) / "Pictures";
    if (fs::is_directory(pictures, ec)) return pictures;
    return ".";
}

}  // namespace

void ApplySettings() {
    plat::SetIntegerScale(g_settings.integerScale);
    if (g_settings.fullscreen && g_windowed) ToggleFullscreen();
    ApplySound();
}

void SetPaused(bool paused) {
    if (paused == g_paused) return;
    g_paused = paused;
    plat::SetPaused(paused);
    if (paused) {
        g_lastPaint = -1e9;  // shown at once
    } else {
        StartFrameClock();  // the paused time is not owed: no burst of ticks follows
    }
}

bool HandleControlKey(const plat::Event& event) {
    const int key = event.key & 0xFF;
    if (key != plat::VK_P && key != plat::VK_PAUSE && key != plat::VK_M && key != plat::VK_F12) {
        return false;
    }
    if (event.repeat) return true;
    if (key == plat::VK_P || key == plat::VK_PAUSE) SetPaused(!g_paused);
    if (key == plat::VK_M) {
        g_settings.mute = !g_settings.mute;
        ApplySound();
        Settings kept = g_keptSettings.Values();
        kept.mute = g_settings.mute;
        g_keptSettings.Keep(kept);
    }
    if (key == plat::VK_F12) SaveScreenshot();
    return true;
}

void OnFocusChange(bool active) {
    if (!active && g_settings.pauseOnFocusLoss) SetPaused(true);
}

void OnWindowResized(int width, int height) {
    g_settings.windowWidth = width;
    g_settings.windowHeight = height;
    Settings kept = g_keptSettings.Values();
    kept.windowWidth = width;
    kept.windowHeight = height;
    g_keptSettings.Keep(kept);
    g_lastPaint = -1e9;
}

void OnFullscreenToggled() {
    g_settings.fullscreen = g_windowed == 0;
    Settings kept = g_keptSettings.Values();
    kept.fullscreen = g_settings.fullscreen;
    g_keptSettings.Keep(kept);
    g_lastPaint = -1e9;
}

void PausedPass() {
    const double now = plat::ClockMs();
    if (now - g_lastPaint < REPAINT_MS) return;
    g_lastPaint = now;
    const auto& caption = Caption();
    plat::PresentOverlay(SHADE, caption.data(), static_cast<int>(caption.size()));
}

bool g_stdoutTaken = false;

void SaveScreenshot() {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const fs::path folder = PicturesFolder();
    // Two in one second get -2, -3...: a picture taken is never written over.
    fs::path file = folder / (std::string("tinselrun-") + stamp + ".png");
    std::error_code ec;
    for (int n = 2; fs::exists(fs::symlink_status(file, ec)) && n < 1000; ++n) {
        file = folder / (std::string("tinselrun-") + stamp + "-" + std::to_string(n) + ".png");
    }
    if (!plat::SavePicture(file.c_str())) {
        std::fprintf(stderr, "tinselrun: cannot write the screenshot %s\n", file.c_str());
        return;
    }
    std::FILE* out = g_stdoutTaken ? stderr : stdout;
    std::fprintf(out, "%s\n", file.c_str());
    std::fflush(out);
}
