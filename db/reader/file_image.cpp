#include "db/reader/file_image.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace planora::db::access {

FileImage FileImage::read(const std::filesystem::path& file, std::uint64_t maxBytes) {
    FileImage image;
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return image;
    }
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0 &&
        static_cast<std::uint64_t>(status.st_size) <= maxBytes) {
        const auto wanted = static_cast<std::size_t>(status.st_size);
        image.data_.reset(new unsigned char[wanted]);  // each read fills what it uses
        while (image.size_ < wanted) {
            const ssize_t got = ::pread(fd, image.data_.get() + image.size_, wanted - image.size_,
                                        static_cast<off_t>(image.size_));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                break;  // a file cut short while read: what was read is the file
            }
            image.size_ += static_cast<std::size_t>(got);
        }
    }
    ::close(fd);
    if (image.size_ == 0) {
        image.data_.reset();
    }
    return image;
}

}  // namespace planora::db::access
