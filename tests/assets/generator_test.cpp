// The generator itself: pinned output, the same bytes on every run, and clear errors.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>

#include "asset_files.h"

using namespace assets_test;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> AllFiles() {
    std::vector<std::string> out;
    for (int n = 1; n <= 18; ++n) out.push_back("img/" + std::to_string(n) + ".dat");
    for (int n = 1; n <= 16; ++n) out.push_back("snd/" + std::to_string(n) + ".bom");
    return out;
}

// Any change to a picture or a sound has to be made on purpose: update the hash here. The music
// is libvorbis's output, so a libvorbis that encodes differently moves its four hashes.
const std::map<std::string, uint64_t> kPinned = {
    {"img/1.dat", 0x46820c1f9aaf28c0ull},  {"img/2.dat", 0xb9cfdb4473f35037ull},
    {"img/3.dat", 0xa314ea7678382175ull},  {"img/4.dat", 0xd66862dcb7c1388full},
    {"img/5.dat", 0x3633c5139e1adb4bull},  {"img/6.dat", 0x5d63b61d86929d7aull},
    {"img/7.dat", 0x558e01c6ce02a546ull},  {"img/8.dat", 0x0ecc2ceb6210e164ull},
    {"img/9.dat", 0xeae0ef505394c0a0ull},  {"img/10.dat", 0x9ff344becc1586c3ull},
    {"img/11.dat", 0x830d5974ee482eefull}, {"img/12.dat", 0xee47713f852baf02ull},
    {"img/13.dat", 0xb103d3e640312065ull}, {"img/14.dat", 0x4acd0f3818503107ull},
    {"img/15.dat", 0x0b2ac2ef6f1919a3ull}, {"img/16.dat", 0x15d2d309294da8bcull},
    {"img/17.dat", 0x430a2b16e4b8b874ull}, {"img/18.dat", 0xf998d2de69d36916ull},
    {"snd/1.bom", 0xb74a623c0dd8bb1cull},  {"snd/2.bom", 0x6f8a90b10cf9f56cull},
    {"snd/3.bom", 0xfaee015546244418ull},  {"snd/4.bom", 0x694c281ec3df5f0aull},
    {"snd/5.bom", 0x271b76c5364de3f2ull},  {"snd/6.bom", 0x4c97c80301267a2cull},
    {"snd/7.bom", 0x5684a98fb6433a8bull},  {"snd/8.bom", 0xf546a2970c6e6b33ull},
    {"snd/9.bom", 0x0b6f5de94535abedull},  {"snd/10.bom", 0xe979694a09f506feull},
    {"snd/11.bom", 0x425158a9c9a467f0ull}, {"snd/12.bom", 0x7165a21bee4aeb3bull},
    {"snd/13.bom", 0xc932d11c8c512e67ull}, {"snd/14.bom", 0xbb8f6d8f16455db9ull},
    {"snd/15.bom", 0x9ab21ece1109a843ull}, {"snd/16.bom", 0xb522d03da9bb3552ull},
};

struct RunResult {
    int status;
    std::string output;  // stdout and stderr together
};

RunResult RunGenerator(const std::string& args) {
    std::string cmd = "'" + AssetgenPath() + "' " + args + " 2>&1";
    RunResult r{-1, {}};
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[512];
    while (fgets(buf, sizeof buf, p)) r.output += buf;
    int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

fs::path TempDir(const std::string& tag) {
    fs::path p =
        fs::temp_directory_path() / ("tinselrun-assets-" + tag + "-" + std::to_string(getpid()));
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

std::string FirstLine(const std::string& s) {
    return s.substr(0, s.find('\n'));
}

}  // namespace

TEST(AssetGenerator, EveryFileMatchesItsPinnedHash) {
    std::ostringstream fresh;
    bool allMatch = true;
    for (const std::string& f : AllFiles()) {
        const uint64_t h = Fnv1a64(ReadBytes(BuildDir() + "/" + f));
        char line[80];
        std::snprintf(line, sizeof line, "    {\"%s\", 0x%016llxull},\n", f.c_str(),
                      (unsigned long long)h);
        fresh << line;
        auto it = kPinned.find(f);
        if (it == kPinned.end() || it->second != h) allMatch = false;
        EXPECT_TRUE(it != kPinned.end() && it->second == h) << f << " changed";
    }
    if (!allMatch) std::printf("current hashes:\n%s", fresh.str().c_str());
}

TEST(AssetGenerator, WritesTheSameBytesOnEveryRun) {
    const fs::path a = TempDir("a"), b = TempDir("b");
    ASSERT_EQ(RunGenerator("--out '" + a.string() + "'").status, 0);
    ASSERT_EQ(RunGenerator("--out '" + b.string() + "'").status, 0);
    for (const std::string& f : AllFiles()) {
        SCOPED_TRACE(f);
        const auto bytesA = ReadBytes((a / f).string());
        ASSERT_FALSE(bytesA.empty());
        EXPECT_EQ(bytesA, ReadBytes((b / f).string()));
        EXPECT_EQ(bytesA, ReadBytes(BuildDir() + "/" + f)) << "differs from the build's copy";
    }
    fs::remove_all(a);
    fs::remove_all(b);
}

TEST(AssetGenerator, SheetAndIconAreWritten) {
    const fs::path d = TempDir("review");
    const fs::path sheet = d / "sheet.png", icon = d / "icon.png";
    ASSERT_EQ(
        RunGenerator("--sheet '" + sheet.string() + "' --icon '" + icon.string() + "'").status, 0);
    Picture i = LoadPicture(icon.string());
    ASSERT_TRUE(i.ok());
    EXPECT_EQ(i.w, 64);
    EXPECT_EQ(i.h, 64);
    Picture s = LoadPicture(sheet.string());
    ASSERT_TRUE(s.ok());
    EXPECT_GE(s.w, 800 * 3);  // the screens sit side by side at full size
    EXPECT_GE(s.h, 3600);     // and the ending strip in one piece
    fs::remove_all(d);
}

TEST(AssetGenerator, BadInputGivesOneClearLine) {
    struct Case {
        std::string args;
        int status;
        std::string says;
    };
    const fs::path d = TempDir("bad");
    const fs::path file = d / "plain-file";
    {
        std::FILE* f = std::fopen(file.string().c_str(), "w");
        if (f) std::fclose(f);
    }
    const Case cases[] = {
        {"", 2, "nothing to do"},
        {"--bogus", 2, "unknown option '--bogus'"},
        {"--out", 2, "--out needs a value"},
        {"--out ''", 2, "--out needs a value"},
        {"--out '" + file.string() + "'", 1, "cannot create folder"},
        {"--icon /nonexistent-dir/icon.png", 1, "cannot write /nonexistent-dir/icon.png"},
        {"--out '" + d.string() + "' --only img/99.dat", 1, "no asset named img/99.dat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("assetgen " + c.args);
        RunResult r = RunGenerator(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(FirstLine(r.output).rfind("assetgen: ", 0), 0u) << r.output;
        EXPECT_NE(FirstLine(r.output).find(c.says), std::string::npos) << r.output;
    }
    EXPECT_EQ(RunGenerator("--help").status, 0);
    fs::remove_all(d);
}
