#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace planora::preview {

// The board file cut into pages the way the preview shows it. A page is read on from where
// the last one stopped: lines are added until their characters (without line ends) reach the
// page's limit, so a page ends after the line that reaches it.
class BoardPages {
  public:
    static constexpr std::size_t kFirstPageLimit = 20000;
    static constexpr std::size_t kNextPageLimit = 26000;

    // The bytes of the board file; nothing is shown until the first loadPage().
    explicit BoardPages(std::string_view boardBytes);

    // The next page: empty when everything has been read already.
    void loadPage(std::size_t limit);
    // Whether lines follow the page shown (the flag "&Avanti" looks at).
    bool morePages() const { return next_ < lines_.size(); }

    // The page shown, as board bytes and for the screen (lines joined by '\n').
    std::vector<std::string> pageLines() const;
    std::string pageForScreen() const;
    // Characters of the page shown, without line ends.
    std::size_t pageCharacters() const { return characters_; }
    std::size_t firstLine() const { return first_; }

    // Puts the page as the user edited it in place of the page shown; the lines before and
    // after it stay. A line the user left as it was shown keeps its bytes (and so its frame);
    // an edited one is written in Windows-1252 as typed. Reading goes on after the page.
    void replacePage(std::string_view editedScreenText);
    // The whole board, every line ended by CR LF.
    std::string content() const;

  private:
    std::vector<std::string> lines_;
    std::size_t first_ = 0;  // first line of the page shown
    std::size_t next_ = 0;   // the line after it: where the next page starts
    std::size_t characters_ = 0;
};

}  // namespace planora::preview
