#include "app/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/sim_runner.h"

namespace fs = std::filesystem;

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void Put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(SettingsFile, ReadsWhatAPersonMightWriteAndKeepsKeysItDoesNotKnow) {
    SimDir dir;
    const std::string path = dir.Path("settings.ini");
    Put(path,
        "# mine\r\n[tinselrun]\r\n  fullscreen = yes\r\nwindow_width=1001\nwindow_height= 557\n"
        "\n; another comment\nscale=3\ninteger_scale=On\nvolume=35\nmute=0\n"
        "pause_on_focus_loss=false\ncolour_theme=night\n");
    SettingsFile file;
    std::string why;
    ASSERT_EQ(ReadSettings(path, &file, &why), SettingsRead::Read) << why;
    Settings want;
    want.fullscreen = true;
    want.windowWidth = 1001;
    want.windowHeight = 557;
    want.scale = 3;
    want.integerScale = true;
    want.volume = 35;
    want.pauseOnFocusLoss = false;
    EXPECT_EQ(file.values, want);

    // Written back and read again: the same values; the player's comments, the unknown key and
    // the order of the lines as they were, and the keys the file lacked at its end.
    file.values.volume = 36;
    ASSERT_TRUE(WriteSettings(path, file, &why)) << why;
    const std::string written = Slurp(path);
    EXPECT_EQ(written.rfind("# mine\n[tinselrun]\nfullscreen=1\nwindow_width=1001\n"
                            "window_height=557\n\n; another comment\nscale=3\ninteger_scale=1\n"
                            "volume=36\nmute=0\npause_on_focus_loss=0\ncolour_theme=night\n"
                            "auto_fire=0\n",
                            0),
              0u)
        << written;
    SettingsFile again;
    ASSERT_EQ(ReadSettings(path, &again, &why), SettingsRead::Read) << why;
    want.volume = 36;
    EXPECT_EQ(again.values, want);

    EXPECT_EQ(ReadSettings(dir.Path("none.ini"), &again, &why), SettingsRead::Missing);
    EXPECT_EQ(again.values, Settings{});
}

TEST(SettingsFile, ADamagedFileSaysWhereAndGivesTheDefaults) {
    SimDir dir;
    const std::string path = dir.Path("settings.ini");
    const struct {
        std::string text;
        const char* says;
    } cases[] = {{"mute=1\nvolume=loud\n", "line 2: volume cannot be 'loud'"},
                 {"volume=101\n", "line 1: volume cannot be '101'"},
                 {"scale=0\n", "scale cannot be '0'"},
                 {"fullscreen=2\n", "fullscreen cannot be '2'"},
                 {"window_width=-5\n", "window_width cannot be '-5'"},
                 {"mute=1\nplease be quiet\n", "line 2: no key=value"},
                 {std::string("mute=1\0\n", 8), "line 1: a byte that is not text"},
                 {std::string(70000, '#'), "over 64 KiB"}};
    for (const auto& c : cases) {
        Put(path, c.text);
        SettingsFile file;
        file.values.volume = 3;
        std::string why;
        EXPECT_EQ(ReadSettings(path, &file, &why), SettingsRead::Damaged) << c.says;
        EXPECT_NE(why.find(c.says), std::string::npos) << why;
        EXPECT_EQ(file.values, Settings{}) << c.says;
    }
    fs::remove(path);
    fs::create_directory(path);
    SettingsFile file;
    std::string why;
    EXPECT_EQ(ReadSettings(path, &file, &why), SettingsRead::Damaged);
    EXPECT_NE(why.find("cannot read"), std::string::npos) << why;
}

// The old file is replaced whole by a rename, never rewritten where it lies; a failed write
// leaves it as it was and no temporary file behind.
TEST(SettingsFile, IsWrittenAtomicallyIntoAFolderMadeForIt) {
    SimDir dir;
    const std::string path = dir.Path("deep/er/settings.ini");
    SettingsFile file;
    file.values.volume = 40;
    std::string why;
    ASSERT_TRUE(WriteSettings(path, file, &why)) << why;
    const std::string first = Slurp(path);
    ASSERT_NE(first.find("volume=40\n"), std::string::npos) << first;
    fs::create_hard_link(path, dir.Path("old-link"));
    file.values.volume = 41;
    ASSERT_TRUE(WriteSettings(path, file, &why)) << why;
    EXPECT_NE(Slurp(path).find("volume=41\n"), std::string::npos);
    EXPECT_EQ(Slurp(dir.Path("old-link")), first) << "written in place, not replaced";
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path("deep/er")), {}), 1);

    Put(dir.Path("blocker"), "a file where a folder should be");
    EXPECT_FALSE(WriteSettings(dir.Path("blocker/settings.ini"), file, &why));
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(Slurp(dir.Path("blocker")), "a file where a folder should be");
}

// A damaged file is kept as .bad and a change writes a new one; an unwritable folder is said
// once, and play goes on.
TEST(KeptSettings, NothingThePlayerHadIsLostAndNothingStopsPlay) {
    SimDir dir;
    const std::string path = dir.Path("tinselrun/settings.ini");
    fs::create_directories(dir.Path("tinselrun"));
    Put(path, "volume=80\nmute=maybe\n");
    KeptSettings kept;
    testing::internal::CaptureStderr();
    kept.Load(path);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    EXPECT_NE(err.find("line 2: mute cannot be 'maybe'"), std::string::npos) << err;
    EXPECT_NE(err.find("settings.ini.bad"), std::string::npos) << err;
    EXPECT_EQ(kept.Values(), Settings{});
    EXPECT_EQ(Slurp(path + ".bad"), "volume=80\nmute=maybe\n");
    EXPECT_FALSE(fs::exists(path));

    Settings changed = kept.Values();
    changed.mute = true;
    kept.Keep(changed);
    SettingsFile file;
    std::string why;
    ASSERT_EQ(ReadSettings(path, &file, &why), SettingsRead::Read) << why;
    EXPECT_TRUE(file.values.mute);
    EXPECT_EQ(Slurp(path + ".bad"), "volume=80\nmute=maybe\n");

    Put(dir.Path("blocked"), "not a folder");
    kept.Load(dir.Path("blocked/settings.ini"));
    testing::internal::CaptureStderr();
    for (int volume : {10, 20, 30}) {
        changed.volume = volume;
        kept.Keep(changed);
    }
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    EXPECT_NE(said.find("cannot save the settings in " + dir.Path("blocked")), std::string::npos);
    EXPECT_EQ(kept.Values().volume, 30);
}

// Settings files as people keep them: written by an editor that puts a byte-order mark first,
// a link into a folder of dotfiles, a second damaged file, a link to some other file.
TEST(KeptSettings, FilesAsPeopleKeepThemAreReadAndKeptAsTheyAre) {
    SimDir dir;
    fs::create_directories(dir.Path("dotfiles"));
    fs::create_directories(dir.Path("config"));
    const std::string path = dir.Path("config/settings.ini");
    const std::string real = dir.Path("dotfiles/tinselrun.ini");
    Put(real, "\xEF\xBB\xBFvolume=70\n# mine\n");
    fs::create_symlink("../dotfiles/tinselrun.ini", path);
    KeptSettings kept;
    testing::internal::CaptureStderr();
    kept.Load(path);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(kept.Values().volume, 70);
    Settings changed = kept.Values();
    changed.mute = true;
    kept.Keep(changed);
    EXPECT_TRUE(fs::is_symlink(path)) << "the link is kept";
    EXPECT_EQ(Slurp(real).rfind("volume=70\n# mine\nfullscreen=0\n", 0), 0u) << Slurp(real);
    EXPECT_NE(Slurp(real).find("mute=1\n"), std::string::npos) << Slurp(real);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path("config")), {}), 1);

    // Each damaged file is kept, the earlier ones too; a link's other file is named, not shown.
    fs::remove(path);
    Put(path, "mute=maybe\n");
    kept.Load(path);
    Put(dir.Path("secret"), "the first line of something else\n");
    fs::create_symlink(dir.Path("secret"), path);
    testing::internal::CaptureStderr();
    kept.Load(path);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.find("something"), std::string::npos) << err;
    EXPECT_NE(err.find("a link to " + dir.Path("secret")), std::string::npos) << err;
    EXPECT_NE(err.find("line 1: no key=value"), std::string::npos) << err;
    EXPECT_EQ(Slurp(path + ".bad"), "mute=maybe\n");
    EXPECT_EQ(Slurp(path + ".bad.1"), "the first line of something else\n");
    EXPECT_EQ(Slurp(dir.Path("secret")), "the first line of something else\n");
}

// A binding the game cannot read is said in one line, and its input (keys or pad) plays with
// the default; every other line counts, and the file stays as the player wrote it.
TEST(KeptSettings, ABindingThatCannotBeReadFallsBackForItsInputAlone) {
    SimDir dir;
    const std::string path = dir.Path("settings.ini");
    const std::string text =
        "volume=40\nfire = Spcae, Z\nleft=a,  Keypad 4\nup_pad=South, Elbow\nright=Escape\n"
        "down_pad=\nmute=1\n";
    Put(path, text);
    KeptSettings kept;
    testing::internal::CaptureStderr();
    kept.Load(path);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 3) << err;
    for (const char* says : {"line 2: no key is called 'Spcae'; fire plays with its default keys "
                             "(Space)",
                             "line 4: no pad control is called 'Elbow'; up plays with its default "
                             "pad (DPad Up, Stick Up)",
                             "line 5: Escape keeps its own work and cannot be bound"}) {
        EXPECT_NE(err.find(path + ": " + says), std::string::npos) << says << " in\n" << err;
    }
    Settings want;
    want.volume = 40;
    want.mute = true;
    std::string why;
    ASSERT_TRUE(ParseKeys("A, Keypad 4", &want.bindings.inputs[INPUT_LEFT], &why)) << why;
    ASSERT_TRUE(ParsePads("", &want.bindings.inputs[INPUT_DOWN], &why)) << why;
    EXPECT_EQ(kept.Values(), want);
    EXPECT_EQ(Slurp(path), text);
    EXPECT_FALSE(fs::exists(path + ".bad"));
}

}  // namespace
