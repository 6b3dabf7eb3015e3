#include "preview/preview_board.h"

#include <limits>

#include "db/error.h"
#include "files/safe_writer.h"
#include "files/station.h"
#include "messages/messages.h"
#include "messages/preview_messages.h"

namespace planora::preview {

BoardPages PreviewBoard::read(const std::filesystem::path& file) {
    std::error_code ignored;
    if (!std::filesystem::exists(file, ignored)) {
        throw Error(msg::boardFileMissing(file));
    }
    return BoardPages(files::readFile(file));
}

PreviewBoard::PreviewBoard(const std::filesystem::path& dataFolder, std::string_view stationCode)
    : file_(files::existingBoardFile(dataFolder, stationCode)), pages_(read(file_)) {}

void PreviewBoard::firstPage() {
    pages_.loadPage(BoardPages::kFirstPageLimit);
}

bool PreviewBoard::nextPage() {
    if (!pages_.morePages()) {
        return false;
    }
    pages_.loadPage(BoardPages::kNextPageLimit);
    return true;
}

void PreviewBoard::restart() {
    BoardPages again = read(file_);
    again.loadPage(BoardPages::kNextPageLimit);
    pages_ = std::move(again);
}

std::string PreviewBoard::boardForScreen() const {
    BoardPages whole(pages_.content());
    whole.loadPage(std::numeric_limits<std::size_t>::max());
    return whole.pageForScreen();
}

void PreviewBoard::save(std::string_view editedScreenText) {
    BoardPages edited = pages_;
    edited.replacePage(editedScreenText);
    files::writeFileSafely(file_, edited.content());
    pages_ = std::move(edited);
}

}  // namespace planora::preview
