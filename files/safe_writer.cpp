#include "files/safe_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "db/error.h"
#include "messages/messages.h"

namespace planora::files {

namespace fs = std::filesystem;

namespace {

fs::path folderOf(const fs::path& target) {
    const fs::path parent = target.parent_path();
    return parent.empty() ? fs::path(".") : parent;
}

// The permissions a newly created file gets from the process's umask; mkostemp makes 0600.
mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;  // the rename is done; a folder that cannot be opened cannot be flushed either
    }
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

SafeFile::SafeFile(fs::path target) : target_(std::move(target)) {
    std::error_code ignored;
    if (fs::is_directory(fs::symlink_status(target_, ignored))) {
        throw Error(msg::notARegularFile(target_));
    }
    const fs::path folder = folderOf(target_);
    std::string pattern = (folder / ("~" + target_.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0) {
        throw Error(msg::cannotCreateTemporary(folder, errno));
    }
    temporary_ = name.data();
    ::fchmod(fd_, newFileMode());
}

SafeFile::~SafeFile() {
    if (!committed_) {
        discard();
    }
}

void SafeFile::discard() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
    }
}

void SafeFile::write(std::string_view bytes) {
    writeAt(written_, bytes);
    written_ += bytes.size();
}

void SafeFile::writeAt(std::uint64_t offset, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written =
            ::pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            discard();
            throw Error(msg::cannotWriteFile(target_, error));
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += static_cast<std::uint64_t>(written);
    }
}

void SafeFile::commit() {
    if (fd_ < 0) {
        throw Error(msg::cannotWriteFile(target_, EBADF));
    }
    if (::fsync(fd_) != 0 || ::close(fd_) != 0) {
        const int error = errno;
        fd_ = -1;
        discard();
        throw Error(msg::cannotWriteFile(target_, error));
    }
    fd_ = -1;
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        discard();
        throw Error(msg::cannotReplaceFile(target_, error));
    }
    committed_ = true;
    syncFolder(folderOf(target_));
}

void writeFileSafely(const fs::path& target, std::string_view bytes) {
    SafeFile file(target);
    file.write(bytes);
    file.commit();
}

std::string readFile(const fs::path& file, std::size_t maxBytes) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw Error(msg::cannotReadFile(file, errno));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        throw Error(error == EISDIR ? msg::notARegularFile(file)
                                    : msg::cannotReadFile(file, error));
    }
    std::string bytes;
    char buffer[1 << 16];
    while (bytes.size() < maxBytes) {
        const ssize_t got = ::read(fd, buffer, std::min(sizeof buffer, maxBytes - bytes.size()));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            throw Error(msg::cannotReadFile(file, error));
        }
        if (got == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

}  // namespace planora::files
