#include "db/data_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "db/database.h"
#include "db/error.h"
#include "files/no_case.h"
#include "messages/db_messages.h"
#include "messages/messages.h"

namespace planora::db {

namespace fs = std::filesystem;

namespace {

// The first bytes of the file; throws planora::Error with the system's reason (a permission
// denied, say) when it cannot be read.
std::size_t readHeader(const fs::path& file, std::array<char, 32>& header) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw Error(msg::cannotReadFile(file, errno));
    }
    std::size_t got = 0;
    while (got < header.size()) {
        const ssize_t n = ::read(fd, header.data() + got, header.size() - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            throw Error(msg::cannotReadFile(file, error));
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return got;
}

}  // namespace

FileKind fileKindOf(const fs::path& file) {
    std::array<char, 32> header{};
    const std::size_t got = readHeader(file, header);
    static const char sqlite[] = "SQLite format 3";  // with its terminating zero byte
    if (got >= sizeof sqlite && std::memcmp(header.data(), sqlite, sizeof sqlite) == 0) {
        return FileKind::Sqlite;
    }
    static const char jetStart[] = {0x00, 0x01, 0x00, 0x00};
    const std::string_view signature(header.data() + 4, got >= 19 ? 15 : 0);
    if (got >= 19 && std::memcmp(header.data(), jetStart, sizeof jetStart) == 0 &&
        (signature == "Standard Jet DB" || signature == "Standard ACE DB")) {
        return FileKind::Access;
    }
    return FileKind::Unknown;
}

fs::path resolveDataFile(const fs::path& folder, std::string_view bareName) {
    const std::string name(bareName);
    if (auto found = files::findFileNoCase(folder, name)) {
        return *found;
    }
    const std::string fallback = fs::path(name).replace_extension(".sqlite").string();
    if (auto found = files::findFileNoCase(folder, fallback)) {
        return *found;
    }
    // A folder that cannot be read hides its files: say so rather than "not found". A folder
    // that does not exist holds no file either, which the message below says.
    std::error_code error;
    fs::directory_iterator listing(folder, error);
    if (error && error.value() != ENOENT) {
        throw Error(msg::cannotListFolder(folder, error.value()));
    }
    throw Error(msg::databaseNotFound(folder, name, fallback));
}

}  // namespace planora::db
