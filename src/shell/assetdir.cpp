#include "shell/assetdir.h"

#include <filesystem>
#include <string>
#include <system_error>

#ifndef TINSELRUN_DATADIR
#define TINSELRUN_DATADIR "/usr/local/share/games/tinselrun"
#endif
#ifndef TINSELRUN_DATADIR_FROM_BINDIR
#define TINSELRUN_DATADIR_FROM_BINDIR "../share/games/tinselrun"
#endif

namespace fs = std::filesystem;

namespace {

std::string g_assetDir;

bool HoldsAssets(const fs::path& dir) {
    std::error_code ec;
    return fs::is_directory(dir / "img", ec) || fs::is_directory(dir / "snd", ec);
}

// The current directory first (where the game has always looked), then beside the executable,
// then the data directory of an installation relative to it (this layout's, then the older
// share/tinselrun), then the configured one.
std::string FindAssetDir() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    const fs::path candidates[] = {
        fs::path("."),
        ec ? fs::path() : exe.parent_path(),
        ec ? fs::path() : exe.parent_path() / TINSELRUN_DATADIR_FROM_BINDIR,
        ec ? fs::path() : exe.parent_path() / ".." / "share" / "tinselrun",
        fs::path(TINSELRUN_DATADIR),
    };
    for (const fs::path& dir : candidates) {
        if (!dir.empty() && HoldsAssets(dir)) return dir.string();
    }
    return ".";
}

}  // namespace

void SetAssetDir(const char* dir) {
    g_assetDir = dir != nullptr ? dir : "";
}

const char* AssetDir() {
    if (g_assetDir.empty()) g_assetDir = FindAssetDir();
    return g_assetDir.c_str();
}
