#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/keymap.h"
#include "shell/assetdir.h"
#include "shell/input.h"
#include "shell/sound.h"
#include "support/shell_fixture.h"

namespace {

TEST(KeyMap, EveryKeyThatDirectInputNamesHasItsScanCode) {
    EXPECT_EQ(plat::DikFromScancode(SDL_SCANCODE_RIGHT), DIK_RIGHT);
    EXPECT_EQ(plat::DikFromScancode(SDL_SCANCODE_LEFT), DIK_LEFT);
    EXPECT_EQ(plat::DikFromScancode(SDL_SCANCODE_UP), DIK_UP);
    EXPECT_EQ(plat::DikFromScancode(SDL_SCANCODE_DOWN), DIK_DOWN);
    EXPECT_EQ(plat::DikFromScancode(SDL_SCANCODE_SPACE), DIK_SPACE);
    EXPECT_EQ(plat::DikFromScancode(SDL_SCANCODE_RETURN), DIK_RETURN);
    EXPECT_EQ(plat::DikFromScancode(SDL_SCANCODE_ESCAPE), DIK_ESCAPE);
    EXPECT_EQ(plat::DikFromScancode(SDL_SCANCODE_F1), DIK_F1);
    // Rows of the main block run in order in both layouts.
    const char* qwerty = "QWERTYUIOP";
    for (int i = 0; qwerty[i]; ++i) {
        EXPECT_EQ(plat::DikFromScancode(SDL_GetScancodeFromName(std::string(1, qwerty[i]).c_str())),
                  0x10 + i);
    }
    EXPECT_EQ(plat::DikFromScancode(SDL_SCANCODE_A), 0x1E);
    EXPECT_EQ(plat::DikFromScancode(SDL_SCANCODE_Z), 0x2C);
    EXPECT_EQ(plat::DikFromScancode(SDL_SCANCODE_1), 0x02);
    EXPECT_EQ(plat::DikFromScancode(SDL_SCANCODE_0), 0x0B);
    for (int f = 0; f < 10; ++f) EXPECT_EQ(plat::DikFromScancode(SDL_SCANCODE_F1 + f), 0x3B + f);
    EXPECT_EQ(plat::DikFromScancode(SDL_SCANCODE_F11), 0x57);
    EXPECT_EQ(plat::DikFromScancode(SDL_SCANCODE_KP_ENTER), 0x9C);
    EXPECT_EQ(plat::DikFromScancode(SDL_SCANCODE_RCTRL), 0x9D);
    EXPECT_EQ(plat::DikFromScancode(SDL_SCANCODE_KP_5), 0x4C);
    EXPECT_EQ(plat::DikFromScancode(SDL_SCANCODE_LSHIFT), 0x2A);
    EXPECT_EQ(plat::DikFromScancode(SDL_SCANCODE_RALT), 0xB8);
}

TEST(KeyMap, NoTwoKeysShareACodeAndStrayCodesMapToNothing) {
    std::set<int> seen;
    int mapped = 0;
    for (int code = 0; code < plat::SDL_SCANCODE_LIMIT; ++code) {
        const int dik = plat::DikFromScancode(code);
        if (dik == 0) continue;
        ++mapped;
        EXPECT_TRUE(seen.insert(dik).second) << "scan code " << code;
        EXPECT_LT(dik, 256);
    }
    EXPECT_GE(mapped, 100);
    EXPECT_EQ(plat::DikFromScancode(-1), 0);
    EXPECT_EQ(plat::DikFromScancode(100000), 0);
}

using Sound = ShellFixture;

TEST_F(Sound, SlotsOutsideTheTableAreRefusedAndPlayNothing) {
    EXPECT_EQ(LoadSound("snd/1.bom", SOUND_COUNT), -1);
    EXPECT_EQ(LoadSound("snd/1.bom", -1), -1);
    EXPECT_EQ(PlaySound(SOUND_COUNT), -1);
    EXPECT_EQ(PlaySoundLoop(-3), -1);
    StopSound(99);
    UnloadSound(99);
    EXPECT_TRUE(TakeSoundCallLog().empty());
    EXPECT_EQ(CreateSoundTable(4), 0);  // the table exists already
    EXPECT_EQ(g_segmentCount, SOUND_COUNT);
}

TEST_F(Sound, EveryCallIsLoggedInOrderEvenForAnEmptySlot) {
    KeepSoundCallLog(true);
    UnloadSound(3);
    PlaySound(3);
    PlaySoundLoop(SND_STAGE);
    PlaySound(SND_STAGE);
    StopSound(SND_STAGE);
    StopAllSounds();
    const auto calls = TakeSoundCallLog();
    KeepSoundCallLog(false);
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_STREQ(calls[0].call, "UnloadSound");
    EXPECT_STREQ(calls[1].call, "PlaySound");
    EXPECT_EQ(calls[1].slot, 3);
    EXPECT_STREQ(calls[2].call, "PlaySoundLoop");
    EXPECT_EQ(calls[2].slot, SND_STAGE);
    EXPECT_STREQ(calls[4].call, "StopSound");
    EXPECT_STREQ(calls[5].call, "StopAllSounds");
}

TEST(SoundCapture, AStoppedLoopFallsSilentFromTheStopOn) {
    const std::string wav =
        testing::TempDir() + "/tinselrun_stop_" + std::to_string(getpid()) + ".wav";
    ShellFixture::ClearScenes();
    SetAssetDir(TINSELRUN_BUILD_DIR);
    plat::headless::CaptureAudioTo(wav);
    ASSERT_EQ(StartGame(ShellFixture::Undrawn(SCENE_OP)), START_OK);
    PlaySoundLoop(SND_SHOT);
    plat::headless::SetClock(200.0);
    StopSound(SND_SHOT);
    plat::headless::SetClock(400.0);
    StopGame();  // writes the capture
    plat::headless::CaptureAudioTo("");

    std::ifstream in(wav, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    std::remove(wav.c_str());
    ASSERT_EQ(bytes.size(), 44u + 17640u * 4u);  // 400 ms of 16-bit stereo at 44.1 kHz
    std::vector<int16_t> samples((bytes.size() - 44) / 2);
    std::memcpy(samples.data(), bytes.data() + 44, samples.size() * 2);
    const size_t stop = 8820 * 2;  // 200 ms in
    int heard = 0;
    for (size_t i = 0; i < stop; ++i) heard += samples[i] != 0;
    EXPECT_GT(heard, 1000) << "the loop plays until it is stopped";
    for (size_t i = stop; i < samples.size(); ++i) ASSERT_EQ(samples[i], 0) << "sample " << i;
}

using Input = ShellFixture;

TEST_F(Input, KeysReadFromTheSnapshotAndActivationRemakesTheDevices) {
    uint8_t keys[256] = {};
    keys[DIK_SPACE] = KEY_HELD;
    plat::headless::SetKeys(keys);
    Pump();
    EXPECT_TRUE(g_inputCreated);
    ReadKeyboard(g_keys);
    EXPECT_TRUE(KeyHeld(DIK_SPACE));
    EXPECT_FALSE(KeyHeld(DIK_RETURN));
    plat::Event lost{plat::EventType::Activate};
    lost.active = false;
    plat::headless::PushEvent(lost);
    Pump();
    EXPECT_TRUE(g_inputCreated);
    EXPECT_EQ(g_joyCount, 0);
    keys[DIK_SPACE] = 0;
    plat::headless::SetKeys(keys);
    ReadKeyboard(g_keys);
    EXPECT_FALSE(KeyHeld(DIK_SPACE));
}

}  // namespace
