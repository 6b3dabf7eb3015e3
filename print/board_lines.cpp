#include "print/board_lines.h"

#include "db/error.h"
#include "files/safe_writer.h"
#include "files/station.h"
#include "messages/print_messages.h"
#include "print/settings_text.h"

namespace planora::print {

std::filesystem::path existingBoardFile(const std::filesystem::path& folder,
                                        std::string_view stationCode) {
    const std::filesystem::path file = files::boardFilePath(folder, stationCode);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        throw Error(msg::boardFileMissing(file));
    }
    return file;
}

std::vector<std::string> readBoardLines(const std::filesystem::path& boardFile) {
    return splitLines(files::readFile(boardFile));
}

}  // namespace planora::print
