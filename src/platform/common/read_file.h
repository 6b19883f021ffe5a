// Opening an asset file, for pictures and sounds alike, and the bytes of a whole picture file.
#pragma once

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace plat::common {

// Forty times the largest asset the game ships (the stage music, 1.5 MB): room for music a
// player puts in as WAV, which streams from its file; a picture this big is mapped whole.
constexpr int64_t MAX_ASSET_BYTES = int64_t{64} << 20;

// An open regular file of at most MAX_ASSET_BYTES, or -1 with why not. A device, a pipe or a
// link to one would be read for ever or block start-up, so only regular files are taken; the
// open itself does not wait for a pipe's writer.
inline int OpenAssetFile(const char* path, int64_t* size, std::string* why) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        *why = std::strerror(errno);
        return -1;
    }
    struct stat info;
    if (fstat(fd, &info) != 0) {
        *why = std::strerror(errno);
    } else if (S_ISDIR(info.st_mode)) {
        *why = "a folder, not a file";
    } else if (!S_ISREG(info.st_mode)) {
        *why = "not a regular file";
    } else if (info.st_size > MAX_ASSET_BYTES) {
        *why = "larger than " + std::to_string(MAX_ASSET_BYTES >> 20) + " MiB";
    } else {
        *size = info.st_size;
        return fd;
    }
    close(fd);
    return -1;
}

// A picture file is mapped rather than read: the decoder copies out of it once anyway, and a
// big picture read into a buffer of our own first costs a zeroed copy for nothing.
class FileBytes {
public:
    FileBytes() = default;
    ~FileBytes() {
        if (map_ != nullptr) munmap(map_, size_);
    }
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    // False with why when the file cannot be opened or is not an asset file (OpenAssetFile).
    bool Open(const char* path, std::string* why) {
        int64_t size = 0;
        const int fd = OpenAssetFile(path, &size, why);
        if (fd < 0) return false;
        const size_t length = static_cast<size_t>(size);
        void* map = length > 0 ? mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0)
                               : MAP_FAILED;
        if (map != MAP_FAILED) {
            map_ = map;
            size_ = length;
        } else {
            // A read that fails part way keeps what came before it, as a stream reader would.
            buffer_.resize(length);
            size_t done = 0;
            while (done < length) {
                const ssize_t got =
                    pread(fd, buffer_.data() + done, length - done, static_cast<off_t>(done));
                if (got < 0 && errno == EINTR) continue;
                if (got <= 0) break;
                done += static_cast<size_t>(got);
            }
            buffer_.resize(done);
            size_ = done;
        }
        close(fd);
        return true;
    }

    // Holds a copy of bytes that are not in a file.
    void Assign(const uint8_t* data, size_t size) {
        buffer_.assign(data, data + size);
        size_ = size;
    }

    const uint8_t* data() const {
        return map_ != nullptr ? static_cast<const uint8_t*>(map_) : buffer_.data();
    }
    size_t size() const { return size_; }

private:
    void* map_ = nullptr;
    size_t size_ = 0;
    std::vector<uint8_t> buffer_;
};

}  // namespace plat::common
