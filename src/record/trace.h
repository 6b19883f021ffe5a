// The trace: one JSON object per tick, written by hand into a large buffer so that long runs
// cost next to nothing.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "shell/sound.h"
#include "tasks/fields.h"

namespace record {

void AppendInt(std::string& out, int64_t value);
// The shortest text that reads back to the same float; null for NaN and infinities,
// which JSON cannot hold.
void AppendFloat(std::string& out, float value);
// The same text for a finite float without std::to_chars (the page's standard library has none
// for floats); writes at most 80 bytes, returns how many.
size_t ShortestFloatText(float value, char* out);
// A quoted JSON string; null for a null pointer.
void AppendString(std::string& out, const char* text);

// Writes each field as ,"name":value behind whatever the object already holds.
class FieldWriter final : public TaskFields {
public:
    explicit FieldWriter(std::string& out) : out_(out) {}
    void Int(const char* name, int64_t value) override;
    void Float(const char* name, float value) override;
    void Vec(const char* name, float x, float y) override;
    void Rect(const char* name, int32_t left, int32_t top, int32_t right, int32_t bottom) override;

private:
    void Key(const char* name);
    std::string& out_;
};

// One trace line from the game's state as it stands: the served scene (or null), the stage
// and scene globals, every linked task in list order, and the given sound calls.
void AppendTickLine(std::string& out, int64_t tick, const char* served,
                    const std::vector<SoundCall>& sounds);

// Collects lines and writes them in large blocks.
class TraceFile {
public:
    TraceFile() = default;
    ~TraceFile();
    // "-" is standard output. False (with errno set) when the file cannot be created.
    bool Open(const std::string& path);
    bool IsOpen() const { return file_ != nullptr; }
    std::string& Buffer() { return buffer_; }
    // Writes the buffer out once it is large; false after a write error.
    bool MaybeFlush();
    // Writes the buffer out to the file now; false after a write error.
    bool Flush();
    // Writes everything and closes; false after any write error.
    bool Close();

    TraceFile(const TraceFile&) = delete;
    TraceFile& operator=(const TraceFile&) = delete;

private:
    std::FILE* file_ = nullptr;
    bool ownsFile_ = false;
    bool failed_ = false;
    std::string buffer_;
};

}  // namespace record
