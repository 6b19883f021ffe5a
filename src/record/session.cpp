#include "record/session.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/window.h"
#include "shell/dxmain.h"
#include "shell/input.h"
#include "shell/sound.h"

namespace record {

namespace {

constexpr const char* HELD_NAMES[] = {"LEFT", "RIGHT", "UP", "DOWN", "SPACE", "RETURN"};

void Complain(const std::string& path) {
    std::fprintf(stderr, "tinselrun: cannot write %s: %s; going on without it\n", path.c_str(),
                 std::strerror(errno));
}

}  // namespace

std::string RuleLine(int64_t first, int64_t last, uint8_t held) {
    std::string line = std::to_string(first);
    if (last != first) line += "-" + std::to_string(last);
    for (int k = 0; k < 6; ++k) {
        if (held & (1 << k)) line += std::string(" ") + HELD_NAMES[k];
    }
    return line + "\n";
}

bool Writable(const std::string& path) {
    if (path == "-") return true;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        errno = EISDIR;
        return false;
    }
    if (access(path.c_str(), F_OK) == 0) return access(path.c_str(), W_OK) == 0;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa = {}, sb = {};
    const bool hasA = stat(a.c_str(), &sa) == 0, hasB = stat(b.c_str(), &sb) == 0;
    if (hasA && hasB) {
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino && !S_ISCHR(sa.st_mode);
    }
    if (hasA != hasB) return false;
    std::error_code ea, eb;
    const auto pa = std::filesystem::weakly_canonical(a, ea);
    const auto pb = std::filesystem::weakly_canonical(b, eb);
    return !ea && !eb && pa == pb;
}

std::string FileClash(const std::vector<NamedFile>& files) {
    for (size_t i = 0; i < files.size(); ++i) {
        for (size_t j = i + 1; j < files.size(); ++j) {
            const NamedFile& a = files[i];
            const NamedFile& b = files[j];
            if (!a.written && !b.written) continue;
            if (a.path.empty() || b.path.empty() || a.path == "-" || b.path == "-") continue;
            if (SameFile(a.path, b.path)) {
                return a.option + " " + a.path + " and " + b.option + " " + b.path +
                       " are the same file";
            }
        }
    }
    return {};
}

bool TraceHook::Open(const std::string& path) {
    path_ = path;
    if (!Writable(path)) return false;
    KeepSoundCallLog(true);  // before start-up, whose calls line 0 holds
    return true;
}

void TraceHook::Stop() {
    error_ = std::strerror(errno);
    if (options_.sayErrors) Complain(path_);
    file_.Close();
    KeepSoundCallLog(false);
}

void TraceHook::Write(int64_t tick) {
    if (!file_.IsOpen()) return;
    AppendTickLine(file_.Buffer(), tick, g_servedScene, TakeSoundCallLog());
    g_servedScene = nullptr;
    if (!(options_.flushEveryTick ? file_.Flush() : file_.MaybeFlush())) Stop();
}

void TraceHook::Started() {
    if (!file_.Open(path_)) return Stop();
    Write(0);
}

void TraceHook::AfterTick(int64_t tick) {
    Write(tick);
}

void TraceHook::Finished(int64_t /*ticks*/) {
    if (file_.IsOpen() && !file_.Close()) Stop();
    KeepSoundCallLog(false);
}

ScriptFeed::ScriptFeed(Script script) : script_(std::move(script)), cursor_(script_) {
    for (const Rule& rule : script_.rules) last_ = std::max(last_, rule.last);
}

void ScriptFeed::Feed(int64_t /*tick*/, uint8_t keys[256], std::vector<int>* keyDowns) {
    const TickInput& input = cursor_.Next();
    KeysFromHeld(input.held, keys);
    for (KeyEvent event : input.events) {
        keyDowns->push_back(event == KeyEvent::Escape ? plat::VK_ESCAPE : plat::VK_F1);
    }
}

RecordHook::~RecordHook() {
    if (file_ != nullptr) std::fclose(file_);
}

bool RecordHook::Open(const std::string& path, const std::string& heading) {
    path_ = path;
    heading_ = heading;
    return Writable(path);
}

void RecordHook::Started() {
    file_ = std::fopen(path_.c_str(), "wb");
    if (file_ == nullptr) return Complain(path_);
    // A pipe cannot be rewritten in place: there a run is written once it ends.
    seekable_ = std::ftell(file_) == 0 && std::fseek(file_, 0, SEEK_END) == 0;
    Put("# " + heading_ + "\n");
}

void RecordHook::Fail() {
    Complain(path_);
    std::fclose(file_);
    file_ = nullptr;
}

void RecordHook::Put(const std::string& text) {
    if (file_ == nullptr) return;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::fflush(file_) != 0) {
        Fail();
    }
}

void RecordHook::WriteEvents(int64_t tick) {
    if (pending_.empty()) return;
    std::string line = std::to_string(tick);
    for (KeyEvent event : pending_) line += event == KeyEvent::Escape ? " ESCAPE" : " F1";
    pending_.clear();
    Put(line + "\n");
}

void RecordHook::AfterTick(int64_t tick) {
    if (file_ == nullptr) return;
    const uint8_t held = HeldFromKeys(g_keys);
    const bool runGoesOn = runHeld_ != 0 && held == runHeld_ && pending_.empty();
    if (runGoesOn) {
        runLast_ = tick;
        if (!seekable_) return;
        // The run's line only grows, so it covers what it was.
        if (std::fseek(file_, runAt_, SEEK_SET) != 0) return Fail();
        Put(RuleLine(runFirst_, runLast_, runHeld_));
        return;
    }
    if (runHeld_ != 0 && !seekable_) Put(RuleLine(runFirst_, runLast_, runHeld_));
    WriteEvents(tick);
    runHeld_ = held;
    if (held == 0 || file_ == nullptr) return;
    runFirst_ = runLast_ = tick;
    runAt_ = std::ftell(file_);
    if (seekable_) Put(RuleLine(runFirst_, runLast_, runHeld_));
}

void RecordHook::KeyDown(int vk, int64_t /*tick*/) {
    if (vk == plat::VK_ESCAPE) pending_.push_back(KeyEvent::Escape);
    if (vk == plat::VK_F1) pending_.push_back(KeyEvent::F1);
}

void RecordHook::Finished(int64_t ticks) {
    if (file_ == nullptr) return;
    if (runHeld_ != 0 && !seekable_) Put(RuleLine(runFirst_, runLast_, runHeld_));
    runHeld_ = 0;
    WriteEvents(ticks + 1);  // an Escape that ended the run comes before the tick it stopped
    Put("# " + std::to_string(ticks) + " ticks\n");
    if (file_ != nullptr && std::fclose(file_) != 0) Complain(path_);
    file_ = nullptr;
}

}  // namespace record
