// The player's settings: what this run plays with, and the file that keeps them between runs.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/bindings.h"

struct Settings {
    bool fullscreen = false;
    int windowWidth = 0;  // the window's size when the player last resized it; 0: not kept
    int windowHeight = 0;
    int scale = 1;  // the window opens at scale x 800 x 600 when no size is kept (1 to 8)
    bool integerScale = false;
    int volume = 100;  // 0 to 100
    bool mute = false;
    bool pauseOnFocusLoss = true;
    Bindings bindings = DefaultBindings();
    bool autoFire = false;  // in the stage, a press of fire starts firing and the next stops it
    int gameSpeed = 100;    // per cent of the normal pace: 100, 90, ... 50

    bool operator==(const Settings&) const = default;
};

// $XDG_CONFIG_HOME/tinselrun/settings.ini, or ~/.config/...; empty when neither is known.
std::string SettingsPath();

struct SettingsFile {
    Settings values;
    // Every line as the player wrote it, in order: comments and keys this version does not know
    // are written back as they were, the known keys with their values of the moment.
    std::vector<std::string> lines;
    // A binding that could not be read ("line 9: ..."): its input plays with the default keys
    // (or pad controls), and the rest of the file is read on.
    std::vector<std::string> notes;
};

enum class SettingsRead { Missing, Read, Damaged };
// Reads the file. Damaged (also unreadable): `why` says what and where, out keeps the defaults.
SettingsRead ReadSettings(const std::string& path, SettingsFile* out, std::string* why);
// Writes through a temporary file beside it and a rename, so the file is whole or as it was.
// A symbolic link stays: the file it names is written, beside that file. Makes the folder when
// it is missing. False with the reason.
bool WriteSettings(const std::string& path, const SettingsFile& file, std::string* why);
bool WriteSettingsText(const std::string& path, const std::string& text, std::string* why);
// The text of a settings file, read (Read, or Damaged with `why`) and written.
SettingsRead ParseSettings(const std::string& text, SettingsFile* out, std::string* why);
std::string SettingsText(const SettingsFile& file);

// Where the kept settings live between runs: the settings file, or the page's localStorage.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The kept text: Missing when there is none, Damaged (with why) when it cannot be read.
    virtual SettingsRead Load(std::string* text, std::string* why) = 0;
    virtual bool Save(const std::string& text, std::string* why) = 0;
    // Keeps a damaged one aside for the player; `how` says where, or why it stays. False when
    // it stays, so that saving would lose it.
    virtual bool SetAside(std::string* how) = 0;
    virtual std::string Name() const = 0;   // what the messages call the settings
    virtual std::string Place() const = 0;  // where saving goes, for its message
};

// settings.ini: a damaged one becomes settings.ini.bad.
class SettingsFileStore final : public SettingsStore {
public:
    explicit SettingsFileStore(std::string path) : path_(std::move(path)) {}
    SettingsRead Load(std::string* text, std::string* why) override;
    bool Save(const std::string& text, std::string* why) override;
    bool SetAside(std::string* how) override;
    std::string Name() const override;  // the path, and the file it links to
    std::string Place() const override;

private:
    std::string path_;
};

// The kept settings of this run: read at start-up, written whenever the player changes one.
class KeptSettings {
public:
    // Reads them; a damaged file is reported in one stderr line and moved to settings.ini.bad
    // (or .bad.1, .bad.2... beside an earlier one, which is kept).
    void Load(const std::string& path);
    // The same from any store, which the caller keeps alive (nullptr: nothing is kept).
    void Load(SettingsStore* store);
    const Settings& Values() const { return file_.values; }
    // Keeps a change the player made; an unwritable folder is reported once, play goes on.
    void Keep(const Settings& values);

private:
    std::unique_ptr<SettingsFileStore> ownStore_;
    SettingsStore* store_ = nullptr;
    SettingsFile file_;
    bool saidUnwritable_ = false;
};
