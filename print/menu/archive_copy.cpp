#include "print/menu/archive_copy.h"

#include <cerrno>
#include <cstdio>

#include "db/error.h"
#include "files/no_case.h"
#include "files/safe_writer.h"
#include "files/station.h"
#include "messages/messages.h"
#include "print/board_lines.h"

namespace planora::print {

namespace fs = std::filesystem;

namespace {

fs::path archiveFolder(const fs::path& dataFolder) {
    return files::findEntryNoCase(dataFolder, "doc").value_or(dataFolder / "doc");
}

}  // namespace

fs::path archiveCopyPath(const fs::path& dataFolder, std::string_view stationCode,
                         const board::LocalDateTime& now) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d%02d%02d", now.year, now.month, now.day,
                  now.hour, now.minute);
    return archiveFolder(dataFolder) / ("fd" + std::string(stationCode) + stamp + ".doc");
}

void writeArchiveCopy(const fs::path& dataFolder, std::string_view stationCode,
                      const fs::path& copy) {
    const fs::path board = files::existingBoardFile(dataFolder, stationCode);
    std::error_code error;
    fs::create_directory(copy.parent_path(), error);
    if (error) {
        throw Error(msg::cannotWriteFile(copy.parent_path(), error.value()));
    }
    files::writeFileSafely(copy, files::readFile(board));
}

}  // namespace planora::print
