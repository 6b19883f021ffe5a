// Where a sound's bytes are: an open regular file, read in place as the sound plays, or bytes in
// memory (a fuzzer's input). Shared by every stream of one sound.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/read_file.h"

namespace plat::common {

class SoundBytes {
public:
    // Null with why when the file cannot be opened or is not an asset file (OpenAssetFile).
    static std::unique_ptr<SoundBytes> FromFile(const char* path, std::string* why) {
        int64_t size = 0;
        const int fd = OpenAssetFile(path, &size, why);
        if (fd < 0) return nullptr;
        auto bytes = std::unique_ptr<SoundBytes>(new SoundBytes);
        bytes->fd_ = fd;
        bytes->size_ = size;
        return bytes;
    }
    static std::unique_ptr<SoundBytes> FromMemory(const uint8_t* data, size_t size) {
        auto bytes = std::unique_ptr<SoundBytes>(new SoundBytes);
        bytes->memory_.assign(data, data + size);
        bytes->size_ = static_cast<int64_t>(size);
        return bytes;
    }
    ~SoundBytes() {
        if (fd_ >= 0) close(fd_);
    }
    SoundBytes(const SoundBytes&) = delete;
    SoundBytes& operator=(const SoundBytes&) = delete;

    int64_t Size() const { return size_; }

    // Bytes read, fewer only at the end of the file or on a read error.
    size_t ReadAt(int64_t at, void* out, size_t count) const {
        if (at < 0 || at >= size_ || count == 0) return 0;
        count = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(count), size_ - at));
        if (fd_ < 0) {
            std::memcpy(out, memory_.data() + at, count);
            return count;
        }
        size_t done = 0;
        while (done < count) {
            const ssize_t got = pread(fd_, static_cast<uint8_t*>(out) + done, count - done,
                                      static_cast<off_t>(at + static_cast<int64_t>(done)));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            done += static_cast<size_t>(got);
        }
        return done;
    }
    bool ReadAll(int64_t at, void* out, size_t count) const {
        return ReadAt(at, out, count) == count;
    }

private:
    SoundBytes() = default;
    int fd_ = -1;
    int64_t size_ = 0;
    std::vector<uint8_t> memory_;
};

}  // namespace plat::common
