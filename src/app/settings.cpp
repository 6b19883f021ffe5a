#include "app/settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// Settings are a few lines; anything bigger is not a settings file.
constexpr size_t MAX_SETTINGS_BYTES = 64 * 1024;

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool ParseBool(std::string value, bool* out) {
    for (char& c : value) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (value == "1" || value == "true" || value == "yes" || value == "on") {
        *out = true;
    } else if (value == "0" || value == "false" || value == "no" || value == "off") {
        *out = false;
    } else {
        return false;
    }
    return true;
}

bool ParseInt(const std::string& value, int low, int high, int* out) {
    if (value.empty() || value.size() > 6) return false;
    int v = 0;
    for (char c : value) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < low || v > high) return false;
    *out = v;
    return true;
}

// A binding line ("fire", "fire_pad"): its list, or a note and the input's default.
bool ApplyBinding(const std::string& key, const std::string& value, Settings* s,
                  std::string* note) {
    for (int input = 0; input < INPUT_COUNT; ++input) {
        const std::string name = InputName(input);
        const bool keys = key == name, pads = key == name + "_pad";
        if (!keys && !pads) continue;
        InputBinding& binding = s->bindings.inputs[input];
        std::string why;
        if (keys ? ParseKeys(value, &binding, &why) : ParsePads(value, &binding, &why)) return true;
        const InputBinding& fallback = DefaultBindings().inputs[input];
        if (keys) {
            std::copy(std::begin(fallback.keys), std::end(fallback.keys), binding.keys);
        } else {
            std::copy(std::begin(fallback.pads), std::end(fallback.pads), binding.pads);
        }
        *note = why + "; " + name + " plays with its default " + (keys ? "keys (" : "pad (") +
                (keys ? KeysText(fallback) : PadsText(fallback)) + ")";
        return true;
    }
    return false;
}

bool ParseSpeed(const std::string& value, int* out) {
    int speed = 0;
    if (!ParseInt(value, 50, 100, &speed) || speed % 10 != 0) return false;
    *out = speed;
    return true;
}

// The file a path stands for: a symbolic link is followed to what it names, which need not
// exist yet.
fs::path LinkTarget(const fs::path& path) {
    fs::path file = path;
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(file, ec)); ++hops) {
        const fs::path target = fs::read_symlink(file, ec);
        if (ec) break;
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
    return file;
}

// The key of a key=value line, or empty for a comment, a section or a blank line.
std::string KeyOf(const std::string& raw) {
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == '#' || line[0] == ';' || line[0] == '[') return "";
    const size_t eq = line.find('=');
    return eq == std::string::npos ? "" : Trim(line.substr(0, eq));
}

// Every known key and its value as the file holds it, in the order a new file lists them.
std::vector<std::pair<std::string, std::string>> KnownValues(const Settings& s) {
    std::vector<std::pair<std::string, std::string>> values = {
        {"fullscreen", std::to_string(s.fullscreen)},
        {"window_width", std::to_string(s.windowWidth)},
        {"window_height", std::to_string(s.windowHeight)},
        {"scale", std::to_string(s.scale)},
        {"integer_scale", std::to_string(s.integerScale)},
        {"volume", std::to_string(s.volume)},
        {"mute", std::to_string(s.mute)},
        {"pause_on_focus_loss", std::to_string(s.pauseOnFocusLoss)},
        {"auto_fire", std::to_string(s.autoFire)},
        {"game_speed", std::to_string(s.gameSpeed)}};
    for (int input = 0; input < INPUT_COUNT; ++input) {
        const InputBinding& binding = s.bindings.inputs[input];
        values.emplace_back(InputName(input), KeysText(binding));
        values.emplace_back(std::string(InputName(input)) + "_pad", PadsText(binding));
    }
    return values;
}

// One key=value line into the settings; false with the reason for a value it cannot take. A
// binding it cannot read is a note, not a fault.
bool Apply(const std::string& key, const std::string& value, Settings* s, bool* known,
           std::string* why, std::string* note) {
    *known = true;
    bool ok = true;
    if (key == "fullscreen") {
        ok = ParseBool(value, &s->fullscreen);
    } else if (key == "window_width") {
        ok = ParseInt(value, 0, 16384, &s->windowWidth);
    } else if (key == "window_height") {
        ok = ParseInt(value, 0, 16384, &s->windowHeight);
    } else if (key == "scale") {
        ok = ParseInt(value, 1, 8, &s->scale);
    } else if (key == "integer_scale") {
        ok = ParseBool(value, &s->integerScale);
    } else if (key == "volume") {
        ok = ParseInt(value, 0, 100, &s->volume);
    } else if (key == "mute") {
        ok = ParseBool(value, &s->mute);
    } else if (key == "pause_on_focus_loss") {
        ok = ParseBool(value, &s->pauseOnFocusLoss);
    } else if (key == "auto_fire") {
        ok = ParseBool(value, &s->autoFire);
    } else if (key == "game_speed") {
        ok = ParseSpeed(value, &s->gameSpeed);
    } else if (!ApplyBinding(key, value, s, note)) {
        *known = false;
    }
    if (!ok) *why = key + " cannot be '" + value + "'";
    return ok;
}

}  // namespace

std::string SettingsPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    fs::path base;
    if (config != nullptr && config[0] == '/') {  // a relative one is to be ignored
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] != '/') return "";
        base = fs::path(home) / ".config";
    }
    return (base / "tinselrun" / "settings.ini").string();
}

namespace {

// The file's text; Missing, or Damaged when it cannot be read.
SettingsRead ReadSettingsText(const std::string& path, std::string* out, std::string* why) {
    std::error_code ec;
    // A link to a file not made yet is missing too: the first save makes that file.
    if (!fs::exists(fs::status(path, ec))) return SettingsRead::Missing;
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in || fs::is_directory(path, ec)) {
        *why = "cannot read it: " + std::string(errno != 0 ? std::strerror(errno) : "not a file");
        return SettingsRead::Damaged;
    }
    std::string text(MAX_SETTINGS_BYTES + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    if (in.bad()) {
        *why = "cannot read it";
        return SettingsRead::Damaged;
    }
    *out = std::move(text);
    return SettingsRead::Read;
}

}  // namespace

SettingsRead ReadSettings(const std::string& path, SettingsFile* out, std::string* why) {
    *out = SettingsFile{};
    std::string text;
    const SettingsRead read = ReadSettingsText(path, &text, why);
    return read == SettingsRead::Read ? ParseSettings(text, out, why) : read;
}

SettingsRead ParseSettings(const std::string& text, SettingsFile* out, std::string* why) {
    *out = SettingsFile{};
    if (text.size() > MAX_SETTINGS_BYTES) {
        *why = "over 64 KiB, not a settings file";
        return SettingsRead::Damaged;
    }
    // A byte-order mark, as some editors write, is not part of the first key.
    const bool marked = text.rfind("\xEF\xBB\xBF", 0) == 0;
    SettingsFile file;
    std::istringstream lines(marked ? text.substr(3) : text);
    std::string raw;
    for (int n = 1; std::getline(lines, raw); ++n) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        file.lines.push_back(raw);
        const std::string where = "line " + std::to_string(n) + ": ";
        for (char ch : raw) {
            const auto c = static_cast<unsigned char>(ch);
            if ((c < 0x20 && c != '\t') || c == 0x7F) {
                *why = where + "a byte that is not text";
                return SettingsRead::Damaged;
            }
        }
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == '#' || line[0] == ';' || line[0] == '[') continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos) {
            // Its content is not shown: the file may be anything a link points at.
            *why = where + "no key=value";
            return SettingsRead::Damaged;
        }
        bool known = false;
        std::string bad, note;
        if (!Apply(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)), &file.values, &known, &bad,
                   &note)) {
            *why = where + bad;
            return SettingsRead::Damaged;
        }
        if (!note.empty()) file.notes.push_back(where + note);
    }
    *out = std::move(file);
    return SettingsRead::Read;
}

std::string SettingsText(const SettingsFile& file) {
    const auto known = KnownValues(file.values);
    std::vector<bool> written(known.size(), false);
    std::string text;
    if (file.lines.empty()) {
        text =
            "# Tinselrun's settings, written by the game whenever one changes.\n"
            "# The command line's options (tinselrun --help) hold for one run and are not kept.\n";
    }
    for (const std::string& line : file.lines) {
        const std::string key = KeyOf(line);
        size_t k = 0;
        while (k < known.size() && known[k].first != key) ++k;
        if (k == known.size()) {
            text += line + "\n";
        } else if (!written[k]) {  // a key given twice is kept once, where it first stood
            text += key + "=" + known[k].second + "\n";
            written[k] = true;
        }
    }
    const bool sized = file.values.windowWidth > 0 && file.values.windowHeight > 0;
    for (size_t k = 0; k < known.size(); ++k) {
        const bool size = known[k].first == "window_width" || known[k].first == "window_height";
        if (!written[k] && (sized || !size)) text += known[k].first + "=" + known[k].second + "\n";
    }
    return text;
}

bool WriteSettings(const std::string& path, const SettingsFile& file, std::string* why) {
    return WriteSettingsText(path, SettingsText(file), why);
}

bool WriteSettingsText(const std::string& path, const std::string& text, std::string* why) {
    // A link (as dotfile managers make) stays a link: the file it names is replaced, in its own
    // folder, so the rename stays atomic.
    const fs::path target = LinkTarget(path);
    std::error_code ec;
    if (!target.parent_path().empty() && !fs::is_directory(target.parent_path(), ec)) {
        fs::create_directories(target.parent_path(), ec);
        if (ec) {
            *why = ec.message();
            return false;
        }
    }
    std::string temp = target.string() + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        *why = std::strerror(errno);
        return false;
    }
    bool ok = true;
    size_t done = 0;
    while (ok && done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<size_t>(n);
    }
    // On disk before the rename, so a crash leaves the old file or the new one, never half.
    ok = ok && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    if (!ok) *why = std::strerror(errno);
    if (::close(fd) != 0 && ok) {
        ok = false;
        *why = std::strerror(errno);
    }
    if (ok && std::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        *why = std::strerror(errno);
    }
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

SettingsRead SettingsFileStore::Load(std::string* text, std::string* why) {
    return ReadSettingsText(path_, text, why);
}

bool SettingsFileStore::Save(const std::string& text, std::string* why) {
    return WriteSettingsText(path_, text, why);
}

// An earlier damaged file is the player's too: the new one goes beside it.
bool SettingsFileStore::SetAside(std::string* how) {
    std::error_code ec;
    std::string bad = path_ + ".bad";
    for (int n = 1; fs::exists(fs::symlink_status(bad, ec)) && n < 1000; ++n) {
        bad = path_ + ".bad." + std::to_string(n);
    }
    fs::rename(path_, bad, ec);
    *how = ec ? "it stays where it is: " + ec.message()
              : "the file is kept as " + fs::path(bad).filename().string();
    return !ec;
}

std::string SettingsFileStore::Name() const {
    const fs::path target = LinkTarget(path_);
    return target == fs::path(path_) ? path_ : path_ + " (a link to " + target.string() + ")";
}

std::string SettingsFileStore::Place() const {
    return fs::path(path_).parent_path().string();
}

void KeptSettings::Load(const std::string& path) {
    ownStore_.reset();
    if (!path.empty()) ownStore_ = std::make_unique<SettingsFileStore>(path);
    Load(ownStore_.get());
}

void KeptSettings::Load(SettingsStore* store) {
    store_ = store;
    file_ = SettingsFile{};
    saidUnwritable_ = false;
    if (store == nullptr) return;
    std::string text, why;
    SettingsRead read = store->Load(&text, &why);
    if (read == SettingsRead::Read) read = ParseSettings(text, &file_, &why);
    if (read != SettingsRead::Damaged) {
        for (const std::string& note : file_.notes) {
            std::fprintf(stderr, "tinselrun: %s: %s\n", store->Name().c_str(), note.c_str());
        }
        return;
    }
    file_ = SettingsFile{};
    std::string how;
    const bool setAside = store->SetAside(&how);
    std::fprintf(stderr, "tinselrun: %s: %s; playing with the default settings (%s)\n",
                 store->Name().c_str(), why.c_str(), how.c_str());
    if (!setAside) store_ = nullptr;  // writing over it would lose it
}

void KeptSettings::Keep(const Settings& values) {
    if (values == file_.values) return;
    file_.values = values;
    if (store_ == nullptr) return;
    std::string why;
    if (store_->Save(SettingsText(file_), &why) || saidUnwritable_) return;
    saidUnwritable_ = true;
    std::fprintf(stderr, "tinselrun: cannot save the settings in %s: %s; playing on\n",
                 store_->Place().c_str(), why.c_str());
}
