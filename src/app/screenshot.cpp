#include "app/screenshot.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

#include "platform/renderer.h"

namespace fs = std::filesystem;

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

void SaveScreenshot(bool stdoutTaken) {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const fs::path folder = PicturesFolder();
    // A picture taken is never written over.
    fs::path file = folder / (std::string("tinselrun-") + stamp + ".png");
    std::error_code ec;
    for (int n = 2; fs::exists(fs::symlink_status(file, ec)) && n < 1000; ++n) {
        file = folder / (std::string("tinselrun-") + stamp + "-" + std::to_string(n) + ".png");
    }
    std::string why;
    if (!plat::SavePicture(file.c_str(), &why)) {
        std::fprintf(stderr, "tinselrun: cannot write the screenshot %s: %s\n", file.c_str(),
                     why.c_str());
        return;
    }
    std::FILE* out = stdoutTaken ? stderr : stdout;
    std::fprintf(out, "%s\n", file.c_str());
    std::fflush(out);
}
