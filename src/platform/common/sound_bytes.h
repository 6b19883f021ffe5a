// Where a sound's bytes are: an open regular file, read in place as the sound plays, or bytes in
// memory (a pipe, a fuzzer's input). Shared by every stream of one sound.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace plat::common {

class SoundBytes {
public:
    // Null when the file cannot be opened.
    static std::unique_ptr<SoundBytes> FromFile(const char* path) {
        const int fd = open(path, O_RDONLY | O_CLOEXEC);
        if (fd < 0) return nullptr;
        auto bytes = std::unique_ptr<SoundBytes>(new SoundBytes);
        struct stat info;
        if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
            bytes->fd_ = fd;
            bytes->size_ = info.st_size;
            return bytes;
        }
        // Anything else is read whole (a folder reads as empty), up to a size no sound has.
        uint8_t block[1 << 16];
        ssize_t got = 0;
        while (bytes->memory_.size() < MAX_PIPE_BYTES &&
               ((got = read(fd, block, sizeof block)) > 0 || (got < 0 && errno == EINTR))) {
            if (got > 0) bytes->memory_.insert(bytes->memory_.end(), block, block + got);
        }
        close(fd);
        bytes->size_ = static_cast<int64_t>(bytes->memory_.size());
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
    static constexpr size_t MAX_PIPE_BYTES = size_t(256) << 20;
    SoundBytes() = default;
    int fd_ = -1;
    int64_t size_ = 0;
    std::vector<uint8_t> memory_;
};

}  // namespace plat::common
