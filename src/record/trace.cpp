#include "record/trace.h"

#include <charconv>
#include <cmath>

#include "game/globals.h"
#include "shell/dxmain.h"
#include "tasks/node.h"

namespace record {

namespace {

constexpr size_t FLUSH_AT = 1 << 20;

}  // namespace

void AppendInt(std::string& out, int64_t value) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

void AppendFloat(std::string& out, float value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

void AppendString(std::string& out, const char* text) {
    if (text == nullptr) {
        out += "null";
        return;
    }
    static const char HEX[] = "0123456789abcdef";
    out += '"';
    for (const char* p = text; *p != '\0'; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            out += "\\u00";
            out += HEX[c >> 4];
            out += HEX[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

void FieldWriter::Key(const char* name) {
    out_ += ',';
    AppendString(out_, name);
    out_ += ':';
}

void FieldWriter::Int(const char* name, int64_t value) {
    Key(name);
    AppendInt(out_, value);
}

void FieldWriter::Float(const char* name, float value) {
    Key(name);
    AppendFloat(out_, value);
}

void FieldWriter::Vec(const char* name, float x, float y) {
    Key(name);
    out_ += '[';
    AppendFloat(out_, x);
    out_ += ',';
    AppendFloat(out_, y);
    out_ += ']';
}

void FieldWriter::Rect(const char* name, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    Key(name);
    out_ += '[';
    AppendInt(out_, left);
    out_ += ',';
    AppendInt(out_, top);
    out_ += ',';
    AppendInt(out_, right);
    out_ += ',';
    AppendInt(out_, bottom);
    out_ += ']';
}

void AppendTickLine(std::string& out, int64_t tick, const char* served,
                    const std::vector<SoundCall>& sounds) {
    out += "{\"tick\":";
    AppendInt(out, tick);
    out += ",\"served\":";
    AppendString(out, served);

    out += ",\"globals\":{\"lives\":";
    AppendInt(out, g_lives);
    out += ",\"oneLifeMode\":";
    AppendInt(out, g_oneLifeMode);
    out += ",\"stageClear\":";
    AppendInt(out, g_stageClear);
    out += ",\"deathSound\":";
    AppendInt(out, g_deathSound);
    out += ",\"santaPos\":[";
    AppendFloat(out, g_santaPos.x);
    out += ',';
    AppendFloat(out, g_santaPos.y);
    out += "],\"sceneChange\":";
    AppendInt(out, g_sceneChange);
    out += ",\"nextScene\":";
    AppendInt(out, g_nextScene);

    out += "},\"tasks\":[";
    if (g_taskHead != nullptr) {
        FieldWriter fields(out);
        bool first = true;
        for (NodeBaseClass* node = g_taskHead->next; node != nullptr && node->next != nullptr;
             node = node->next) {
            if (!first) out += ',';
            first = false;
            out += "{\"class\":";
            AppendString(out, node->ClassName());
            out += ",\"state\":";
            AppendInt(out, node->state);
            out += ",\"priority\":";
            AppendInt(out, node->priority);
            node->Describe(fields);
            out += '}';
        }
    }

    out += "],\"sounds\":[";
    for (size_t i = 0; i < sounds.size(); ++i) {
        if (i > 0) out += ',';
        out += "{\"call\":";
        AppendString(out, sounds[i].call);
        out += ",\"slot\":";
        AppendInt(out, sounds[i].slot);
        out += '}';
    }
    out += "]}\n";
}

TraceFile::~TraceFile() {
    Close();
}

bool TraceFile::Open(const std::string& path) {
    if (path == "-") {
        file_ = stdout;
        ownsFile_ = false;
    } else {
        file_ = std::fopen(path.c_str(), "wb");
        ownsFile_ = true;
    }
    buffer_.reserve(FLUSH_AT + (FLUSH_AT >> 2));
    return file_ != nullptr;
}

bool TraceFile::Flush() {
    if (file_ == nullptr || buffer_.empty()) return !failed_;
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size() ||
        std::fflush(file_) != 0) {
        failed_ = true;
    }
    buffer_.clear();
    return !failed_;
}

bool TraceFile::MaybeFlush() {
    return buffer_.size() < FLUSH_AT ? !failed_ : Flush();
}

bool TraceFile::Close() {
    if (file_ == nullptr) return !failed_;
    Flush();
    if (std::fflush(file_) != 0) failed_ = true;
    if (ownsFile_ && std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
    return !failed_;
}

}  // namespace record
