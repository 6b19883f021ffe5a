// assetgen: writes every picture and sound the game loads.
//   assetgen --out DIR        DIR/img/1.dat ... 18.dat and DIR/snd/1.bom ... 16.bom
//   assetgen --sheet FILE     one contact sheet of every picture, for review
//   assetgen --icon FILE      the 64 x 64 application icon
//   assetgen --icons DIR      DIR/16x16/apps/tinselrun.png ... 256x256: the icon theme's sizes
#include <atomic>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "catalog.h"
#include "encode.h"

namespace {

const char* kUsage =
    "usage: assetgen [--out DIR] [--sheet FILE.png] [--icon FILE.png] [--icons DIR]\n"
    "                [--only img/N.dat]\n";

void makeDir(const std::filesystem::path& p) {
    std::error_code ec;
    std::filesystem::create_directories(p, ec);
    if (ec || !std::filesystem::is_directory(p))
        throw std::runtime_error("cannot create folder " + p.string() +
                                 (ec ? ": " + ec.message() : ""));
}

// The layout of an icon theme's folder, as share/icons/hicolor holds it.
void writeIconTheme(const std::filesystem::path& root) {
    for (int size : ag::kAppIconSizes) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        makeDir(root / name / "apps");
        ag::writeFile((root / name / "apps" / "tinselrun.png").string(),
                      ag::encodePng(ag::appIcon(size)));
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::string out, sheet, icon, icons, only;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        std::string* target = arg == "--out"     ? &out
                              : arg == "--sheet" ? &sheet
                              : arg == "--icon"  ? &icon
                              : arg == "--icons" ? &icons
                              : arg == "--only"  ? &only
                                                 : nullptr;
        if (!target) {
            std::fprintf(stderr, "assetgen: unknown option '%s'\n%s", arg.c_str(), kUsage);
            return 2;
        }
        if (i + 1 >= argc || argv[i + 1][0] == '\0') {
            std::fprintf(stderr, "assetgen: %s needs a value\n%s", arg.c_str(), kUsage);
            return 2;
        }
        *target = argv[++i];
    }
    if (out.empty() && sheet.empty() && icon.empty() && icons.empty()) {
        std::fprintf(stderr, "assetgen: nothing to do\n%s", kUsage);
        return 2;
    }
    try {
        if (!out.empty()) {
            const std::filesystem::path root(out);
            makeDir(root / "img");
            makeDir(root / "snd");
            std::vector<const ag::Asset*> todo;
            for (const ag::Asset& a : ag::catalog())
                if (only.empty() || a.path == only) todo.push_back(&a);
            if (todo.empty()) throw std::runtime_error("no asset named " + only);
            // two workers: each file depends only on its own data, so the bytes do not change
            std::atomic<size_t> next{0};
            std::mutex errMutex;
            std::string firstError;
            auto worker = [&] {
                for (size_t i; (i = next++) < todo.size();) {
                    try {
                        ag::writeFile((root / todo[i]->path).string(), todo[i]->make());
                    } catch (const std::exception& e) {
                        std::lock_guard<std::mutex> lock(errMutex);
                        if (firstError.empty()) firstError = e.what();
                    }
                }
            };
            std::thread helper(worker);
            worker();
            helper.join();
            if (!firstError.empty()) throw std::runtime_error(firstError);
        }
        if (!sheet.empty()) ag::writeFile(sheet, ag::encodePng(ag::contactSheet()));
        if (!icon.empty()) ag::writeFile(icon, ag::encodePng(ag::appIcon()));
        if (!icons.empty()) writeIconTheme(icons);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
