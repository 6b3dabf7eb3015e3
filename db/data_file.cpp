#include "db/data_file.h"

#include <system_error>

#include "db/database.h"
#include "db/error.h"
#include "files/no_case.h"
#include "files/safe_writer.h"
#include "messages/db_messages.h"
#include "messages/messages.h"

namespace planora::db {

namespace fs = std::filesystem;

FileKind fileKindOf(const fs::path& file) {
    const std::string header = files::readFile(file, 32);
    const std::string_view start(header);
    static const char sqlite[] = "SQLite format 3";  // with its terminating zero byte
    if (start.starts_with(std::string_view(sqlite, sizeof sqlite))) {
        return FileKind::Sqlite;
    }
    static const char jetStart[] = {0x00, 0x01, 0x00, 0x00};
    if (start.size() >= 19 && start.starts_with(std::string_view(jetStart, sizeof jetStart)) &&
        (start.substr(4, 15) == "Standard Jet DB" || start.substr(4, 15) == "Standard ACE DB")) {
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
