#include "record/trace.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

size_t ShortestFloatText(float value, char* out) {
    char* at = out;
    if (std::signbit(value)) *at++ = '-';
    const double v = std::fabs(static_cast<double>(value));
    if (v == 0.0) {
        *at++ = '0';
        return static_cast<size_t>(at - out);
    }
    // The fewest significant digits that read back to the value: the correctly rounded ones,
    // else the nearer neighbour of them that does (a float on a power of two, whose interval is
    // lopsided).
    char digits[16] = {};
    int count = 0, exponent = 0;
    for (int p = 1; p <= 9 && count == 0; ++p) {
        char text[40];
        std::snprintf(text, sizeof text, "%.*e", p - 1, v);
        uint32_t mantissa = 0;
        const char* c = text;
        for (; *c != 'e'; ++c) {
            if (*c != '.') mantissa = mantissa * 10 + static_cast<uint32_t>(*c - '0');
        }
        const int e = std::atoi(c + 1);
        double best = -1.0;
        for (int step : {0, -1, 1}) {
            if (step != 0 && count != 0 && best == 0.0) break;
            const uint32_t m = mantissa + static_cast<uint32_t>(step);
            if (m == 0) continue;
            char candidate[40];
            std::snprintf(candidate, sizeof candidate, "%ue%d", m, e - (p - 1));
            if (std::strtof(candidate, nullptr) != static_cast<float>(v)) continue;
            // The correctly rounded one is the nearest (printf rounds the exact value).
            const double distance =
                step == 0 ? 0.0 : std::fabs(std::strtod(candidate, nullptr) - v);
            if (best >= 0.0 && distance >= best) continue;
            best = distance;
            count = std::snprintf(digits, sizeof digits, "%u", m);
            exponent = e + (count - p);  // a carry into one more digit
        }
    }
    while (count > 1 && digits[count - 1] == '0') --count;
    // value = d.ddd x 10^exponent, written fixed or scientific, whichever is shorter (fixed on a
    // tie), as printf would write it.
    char fixed[64], scientific[32];
    int f = 0, s = 0;
    if (exponent >= count - 1) {
        // A whole number: every digit of it costs the same, so they are the exact ones.
        f = std::snprintf(fixed, sizeof fixed, "%.0f", v);
    } else if (exponent >= 0) {
        for (int i = 0; i <= exponent || i < count; ++i) {
            if (i == exponent + 1) fixed[f++] = '.';
            fixed[f++] = i < count ? digits[i] : '0';
        }
    } else {
        fixed[f++] = '0';
        fixed[f++] = '.';
        for (int i = 1; i < -exponent; ++i) fixed[f++] = '0';
        for (int i = 0; i < count; ++i) fixed[f++] = digits[i];
    }
    scientific[s++] = digits[0];
    if (count > 1) {
        scientific[s++] = '.';
        for (int i = 1; i < count; ++i) scientific[s++] = digits[i];
    }
    s += std::snprintf(scientific + s, sizeof scientific - static_cast<size_t>(s), "e%c%02d",
                       exponent < 0 ? '-' : '+', exponent < 0 ? -exponent : exponent);
    const char* shorter = f <= s ? fixed : scientific;
    const int length = f <= s ? f : s;
    std::memcpy(at, shorter, static_cast<size_t>(length));
    return static_cast<size_t>(at - out) + static_cast<size_t>(length);
}

void AppendFloat(std::string& out, float value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char text[80];
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
#else
    out.append(text, ShortestFloatText(value, text));
#endif
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
