// The pause menu as a player meets it: keys, a pad, the mouse, and what it draws.
#include "app/menu.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/desk.h"
#include "app/glyphs.h"
#include "app/lettering.h"
#include "platform/headless/headless.h"
#include "scenes/scenetable.h"
#include "shell/assetdir.h"
#include "shell/game.h"
#include "shell/input.h"
#include "shell/tickhook.h"
#include "support/game_session.h"
#include "support/sim_runner.h"
#include "support/virtual_pad.h"

namespace fs = std::filesystem;

namespace {

constexpr uint8_t DIK_P = 0x19, DIK_Z = 0x2C;

// The whole game with the player's desk, its settings kept in a file of the test's own.
class MenuDesk : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        path_ = dir_.Path("tinselrun/settings.ini");
        kept_.Load(path_);
        desk_ = std::make_unique<PlayerDesk>(kept_.Values(), &kept_);
        SetDesk(desk_.get());
        InstallScenes();
        SetAssetDir(TINSELRUN_BUILD_DIR);
        plat::headless::SetActive(true);
        Keys({});
    }
    void Start(uint32_t scene) {
        GameStart start;
        start.scene = scene;
        ASSERT_EQ(StartGame(start), START_OK);
        FramePass();  // the window's first activation opens the devices
    }
    void TearDown() override {
        StopGame();
        SetDesk(nullptr);
        ClearTickHooks();
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
    // A key pressed: its key-down (with the virtual-key code where the game has one) and a pass.
    static void Key(uint8_t scan, int vk = 0) {
        plat::Event e{plat::EventType::KeyDown, vk};
        e.scan = scan;
        plat::headless::PushEvent(e);
        FramePass();
    }
    static void Keys(std::initializer_list<uint8_t> held) {
        uint8_t keys[256] = {};
        for (uint8_t k : held) keys[k] = KEY_HELD;
        plat::headless::SetKeys(keys);
    }
    // A pad button pressed and let go, a pass each.
    static void Tap(VirtualPad& pad, SDL_GameControllerButton button, int times = 1) {
        for (int i = 0; i < times; ++i) {
            pad.Press(button);
            FramePass();
            pad.Press(button, false);
            FramePass();
        }
    }
    const InputBinding& Bound(int input) const { return desk_->Current().bindings.inputs[input]; }

    SimDir dir_;
    std::string path_;
    KeptSettings kept_;
    std::unique_ptr<PlayerDesk> desk_;
};

ino_t Inode(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

TEST_F(MenuDesk, OpensMovesChangesTheVolumeAndLeavesWritingTheSettingsOnce) {
    Start(SCENE_OP);
    Key(DIK_P, plat::VK_P);
    ASSERT_TRUE(desk_->Paused());
    EXPECT_EQ(desk_->OpenMenu().Screen(), MenuScreen::Top);
    EXPECT_EQ(desk_->OpenMenu().Cursor(), 0);
    Key(DIK_DOWN);
    EXPECT_EQ(desk_->OpenMenu().Rows()[desk_->OpenMenu().Cursor()].label, "VOLUME");
    EXPECT_FALSE(fs::exists(path_)) << "opening and moving change nothing";
    Key(DIK_LEFT);
    EXPECT_FLOAT_EQ(plat::headless::MasterVolume(), 0.9f) << "at once";
    ASSERT_NE(ReadAll(path_).find("volume=90\n"), std::string::npos) << ReadAll(path_);
    const ino_t written = Inode(path_);
    Key(DIK_ESCAPE, plat::VK_ESCAPE);
    EXPECT_FALSE(desk_->Paused()) << "Escape at the top resumes";
    EXPECT_FALSE(QuitPosted());
    EXPECT_EQ(Inode(path_), written) << "written once, by the change alone";
    Key(DIK_ESCAPE, plat::VK_ESCAPE);
    EXPECT_TRUE(QuitPosted()) << "outside the menu Escape quits at once";
}

TEST_F(MenuDesk, RebindingAKeyAndAPadButtonChangesTheSnapshotAndMovesABoundKey) {
    Start(SCENE_OP);
    // Keys alone: Controls, fire takes Z, then up takes Z from fire.
    Key(DIK_P, plat::VK_P);
    for (int i = 0; i < 6; ++i) Key(DIK_DOWN);
    Key(DIK_RETURN);
    ASSERT_EQ(desk_->OpenMenu().Screen(), MenuScreen::Controls);
    for (int i = 0; i < 4; ++i) Key(DIK_DOWN);
    Key(DIK_RETURN);
    Key(DIK_Z);
    EXPECT_EQ(KeysText(Bound(INPUT_FIRE)), "Z, Space");
    Key(DIK_UP);
    Key(DIK_UP);
    Key(DIK_RETURN);
    Key(DIK_Z);
    EXPECT_EQ(KeysText(Bound(INPUT_UP)), "Z, Up");
    EXPECT_EQ(KeysText(Bound(INPUT_FIRE)), "Space");
    EXPECT_EQ(desk_->OpenMenu().Message(), "Z MOVED FROM FIRE TO UP");
    Key(DIK_ESCAPE, plat::VK_ESCAPE);
    Key(DIK_ESCAPE, plat::VK_ESCAPE);
    ASSERT_FALSE(desk_->Paused());

    // A pad alone: Back opens, the D-pad and South find fire, North is bound, East leaves.
    VirtualPad pad;
    Tap(pad, SDL_CONTROLLER_BUTTON_BACK);
    ASSERT_TRUE(desk_->Paused());
    Tap(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 6);
    Tap(pad, SDL_CONTROLLER_BUTTON_A);
    Tap(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 4);
    Tap(pad, SDL_CONTROLLER_BUTTON_A);
    ASSERT_TRUE(desk_->OpenMenu().Waiting());
    Tap(pad, SDL_CONTROLLER_BUTTON_Y);
    EXPECT_EQ(PadsText(Bound(INPUT_FIRE)), "North, South") << "West, the oldest, drops off";
    Tap(pad, SDL_CONTROLLER_BUTTON_B, 2);
    ASSERT_FALSE(desk_->Paused());

    // What reaches the game: each tick's snapshot.
    auto snapshot = [&](std::initializer_list<uint8_t> keys, SDL_GameControllerButton button) {
        Keys(keys);
        if (button != SDL_CONTROLLER_BUTTON_INVALID) pad.Press(button);
        StepTick();
        pad.Release();
        Keys({});
        return std::string(KeyHeld(DIK_UP) ? "UP" : "") + (KeyHeld(DIK_SPACE) ? "SPACE" : "");
    };
    EXPECT_EQ(snapshot({DIK_Z}, SDL_CONTROLLER_BUTTON_INVALID), "UP");
    EXPECT_EQ(snapshot({DIK_SPACE}, SDL_CONTROLLER_BUTTON_INVALID), "SPACE");
    EXPECT_EQ(snapshot({}, SDL_CONTROLLER_BUTTON_Y), "SPACE");
    EXPECT_EQ(snapshot({}, SDL_CONTROLLER_BUTTON_X), "");
    EXPECT_EQ(snapshot({DIK_P, DIK_ESCAPE}, SDL_CONTROLLER_BUTTON_INVALID), "");

    const std::string file = ReadAll(path_);
    for (const char* line : {"\nup=Z, Up\n", "\nfire=Space\n", "\nfire_pad=North, South\n"}) {
        EXPECT_NE(file.find(line), std::string::npos) << line << " in\n" << file;
    }
}

// The picture as the window shows it, kept in build/menu/ for a look.
void Keep(const plat::headless::Frame& frame, const std::string& name) {
    fs::create_directories(TINSELRUN_BUILD_DIR "/menu");
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint32_t*>(frame.pixels), frame.width, frame.height, 32, frame.pitch * 4,
        SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(IMG_SavePNG(surface, (TINSELRUN_BUILD_DIR "/menu/" + name).c_str()), 0);
    SDL_FreeSurface(surface);
}

uint32_t At(const plat::headless::Frame& f, int x, int y) {
    return f.pixels[y * f.pitch + x] | 0xFF000000;
}

uint32_t Dimmed(uint32_t argb) {
    uint32_t out = 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8) {
        out |= (((argb >> shift) & 0xFF) * (255 - 0xA0) / 255) << shift;
    }
    return out;
}

bool Near(uint32_t a, uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 2) return false;
    }
    return true;
}

// Every font pixel of the text at x, y: lit ones in the look's fill for their row, unlit ones
// not. How many are wrong.
int Misdrawn(const plat::headless::Frame& f, const std::string& text, int x, int y,
             const Lettering& look) {
    std::vector<plat::FillRect> column;  // 'I' lights every row: its last rects are the fills
    AddLettering(&column, "I", 0, 0, look);
    const int s = look.scale;
    int wrong = 0;
    for (char c : text) {
        const Glyph& glyph = *FindGlyph(c);
        for (int row = 0; row < GLYPH_HEIGHT; ++row) {
            const uint32_t fill = column[column.size() - GLYPH_HEIGHT + row].argb | 0xFF000000;
            for (int col = 0; col < GlyphWidth(glyph); ++col) {
                const uint32_t got = At(f, x + col * s + s / 2, y + row * s + s / 2);
                if (glyph.rows[row][col] == '#' ? got != fill : Near(got, fill)) ++wrong;
            }
        }
        x += (GlyphWidth(glyph) + 1) * s;
    }
    return wrong;
}

TEST_F(MenuDesk, IsDrawnOverTheDimmedStageInTheGamesLettersAndTakesTheMouse) {
    Start(SCENE_GAMETIME);
    for (int t = 0; t < 90; ++t) StepTick();
    const plat::headless::Frame picture = plat::headless::ReadFrame();
    const std::vector<uint32_t> stage(picture.pixels, picture.pixels + picture.pitch * 600);
    Key(DIK_P, plat::VK_P);
    const plat::headless::Frame shown = plat::headless::ReadShownFrame();
    ASSERT_NE(shown.pixels, picture.pixels) << "nothing was shown over the picture";
    Keep(shown, "paused.png");

    EXPECT_TRUE(std::equal(stage.begin(), stage.end(), plat::headless::ReadFrame().pixels))
        << "the picture itself stays as drawn";
    EXPECT_TRUE(Near(At(shown, 4, 300), Dimmed(stage[300 * picture.pitch + 4]))) << "dimmed";
    const Lettering caption = HeadingLettering(6);
    EXPECT_EQ(Misdrawn(shown, "PAUSED", (800 - LetteringWidth("PAUSED", 6)) / 2, 56, caption), 0);
    const std::vector<MenuRow>& rows = desk_->OpenMenu().Rows();
    ASSERT_EQ(rows[0].label, "RESUME");
    EXPECT_EQ(Misdrawn(shown, "RESUME", rows[0].labelX, rows[0].labelY, HeadingLettering(3)), 0)
        << "the highlighted item in the heading's gold";
    EXPECT_EQ(Misdrawn(shown, "VOLUME", rows[1].labelX, rows[1].labelY, StoryLettering(3)), 0)
        << "the others in the story's cream";
    auto reddish = [&](int row) {
        const uint32_t c = At(shown, rows[row].area.x + 4, rows[row].area.y + 2);
        return int((c >> 16) & 0xFF) > int((c >> 8) & 0xFF) + 20;
    };
    EXPECT_TRUE(reddish(0) && !reddish(1)) << "the highlight lies behind the chosen item alone";

    // The mouse: pointing moves the highlight, a click chooses; into the controls and back.
    auto centre = [&](int row, plat::EventType type) {
        plat::Event e{type, plat::VK_LBUTTON};
        e.x = rows[row].area.x + 30;
        e.y = rows[row].area.y + rows[row].area.h / 2;
        plat::headless::PushEvent(e);
        FramePass();
    };
    centre(8, plat::EventType::MouseMove);
    EXPECT_EQ(desk_->OpenMenu().Cursor(), 8) << "over QUIT";
    centre(2, plat::EventType::MouseDown);
    EXPECT_TRUE(desk_->Current().mute && plat::headless::Muted()) << "a click on MUTE";
    centre(6, plat::EventType::MouseDown);
    ASSERT_EQ(desk_->OpenMenu().Screen(), MenuScreen::Controls);
    Keep(plat::headless::ReadShownFrame(), "controls.png");
    Key(DIK_RETURN);
    ASSERT_TRUE(desk_->OpenMenu().Waiting());
    Keep(plat::headless::ReadShownFrame(), "binding.png");
    Key(DIK_ESCAPE, plat::VK_ESCAPE);
    EXPECT_FALSE(desk_->OpenMenu().Waiting() || QuitPosted()) << "Escape cancels the binding";
    plat::headless::PushEvent({plat::EventType::MouseDown, plat::VK_RBUTTON});
    FramePass();
    EXPECT_EQ(desk_->OpenMenu().Screen(), MenuScreen::Top) << "the right button goes back";
    Key(DIK_DOWN);
    Key(DIK_RETURN);
    ASSERT_EQ(desk_->OpenMenu().Screen(), MenuScreen::Assists);
    Key(DIK_RETURN);
    Key(DIK_DOWN);
    Key(DIK_LEFT);
    Keep(plat::headless::ReadShownFrame(), "assists.png");
    Key(DIK_P, plat::VK_P);
    StepTick();
    Keep(plat::headless::ReadShownFrame(), "assist_mark.png");
    Lettering mark = StoryLettering(2);
    mark.outlineWidth = 1;
    EXPECT_EQ(Misdrawn(plat::headless::ReadShownFrame(), "AUTO-FIRE  SPEED 90%", 12, 578, mark), 0)
        << "the assists' mark in the corner";
}

}  // namespace
