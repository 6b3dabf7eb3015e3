#include "print/board_lines.h"

#include "db/error.h"
#include "files/safe_writer.h"
#include "files/station.h"
#include "messages/print_messages.h"
#include "print/settings_text.h"

namespace planora::print {

std::vector<std::string> readBoardLines(const std::filesystem::path& boardFile) {
    return splitLines(files::readFile(boardFile));
}

}  // namespace planora::print
