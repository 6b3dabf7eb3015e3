#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <optional>

namespace planora::db {

// One version of a file: written in place, it changes its times or its size; replaced, its
// inode.
struct FileVersion {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modified = 0, changed = 0;  // nanoseconds
    friend bool operator==(const FileVersion&, const FileVersion&) = default;
};

// The file's version now; none when it cannot be looked at.
inline std::optional<FileVersion> versionOf(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        return std::nullopt;
    }
    const auto nanoseconds = [](const timespec& t) {
        return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
    };
    return FileVersion{info.st_dev, info.st_ino, info.st_size, nanoseconds(info.st_mtim),
                       nanoseconds(info.st_ctim)};
}

}  // namespace planora::db
