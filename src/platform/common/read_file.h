// The bytes of a whole picture file, for the picture loader.
#pragma once

#include <sys/mman.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace plat::common {

// A regular file is mapped rather than read: the decoder copies out of it once anyway, and a
// big picture read into a buffer of our own first costs a zeroed copy for nothing. Anything
// else (a pipe, a device) is read in blocks.
class FileBytes {
public:
    FileBytes() = default;
    ~FileBytes() {
        if (map_ != nullptr) munmap(map_, size_);
    }
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    // False only when the file cannot be opened; a read that fails part way keeps what came
    // before it, as a stream reader would.
    bool Open(const char* path) {
        std::FILE* file = std::fopen(path, "rb");
        if (file == nullptr) return false;
        struct stat info;
        if (fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
            const size_t length = static_cast<size_t>(info.st_size);
            void* map =
                mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fileno(file), 0);
            if (map != MAP_FAILED) {
                map_ = map;
                size_ = length;
                std::fclose(file);
                return true;
            }
        }
        char block[1 << 16];
        size_t got = 0;
        while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
            buffer_.insert(buffer_.end(), block, block + got);
        }
        size_ = buffer_.size();
        std::fclose(file);
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
