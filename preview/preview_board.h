#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "preview/board_pages.h"

namespace planora::preview {

// The board file of a station as the preview pages, edits and saves it. Every step that fails
// throws planora::Error naming the file and leaves what is shown as it was.
class PreviewBoard {
  public:
    // The board "FD" + station code of the data folder, found without regard to case. Throws
    // when there is no such file.
    PreviewBoard(const std::filesystem::path& dataFolder, std::string_view stationCode);

    const std::filesystem::path& file() const { return file_; }

    // Load: the first page, of up to 20000 characters.
    void firstPage();
    // "&Avanti": the next page of up to 26000 characters; false (and nothing changes) when
    // the page shown is the last.
    bool nextPage();
    // "&Inizio": the board read again from the file, from its first line, a page of up to
    // 26000 characters.
    void restart();
    // "Sa&lva": the board file rewritten with the lines before the page, the page as edited and
    // the lines after it; the preview goes on from the same page.
    void save(std::string_view editedScreenText);

    std::string pageForScreen() const { return pages_.pageForScreen(); }
    // The whole board as the screen shows it, whatever page is shown.
    std::string boardForScreen() const;
    bool morePages() const { return pages_.morePages(); }
    const BoardPages& pages() const { return pages_; }

  private:
    static BoardPages read(const std::filesystem::path& file);

    std::filesystem::path file_;
    BoardPages pages_;
};

}  // namespace planora::preview
