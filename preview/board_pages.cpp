#include "preview/board_pages.h"

#include <iterator>
#include <map>

#include "board/encoding.h"
#include "preview/screen_text.h"

namespace planora::preview {

BoardPages::BoardPages(std::string_view boardBytes) : lines_(splitBoardLines(boardBytes)) {}

void BoardPages::loadPage(std::size_t limit) {
    first_ = next_;
    characters_ = 0;
    while (next_ < lines_.size() && characters_ < limit) {
        characters_ += lines_[next_].size();
        ++next_;
    }
}

std::vector<std::string> BoardPages::pageLines() const {
    const auto begin = lines_.begin() + static_cast<std::ptrdiff_t>(first_);
    return {begin, lines_.begin() + static_cast<std::ptrdiff_t>(next_)};
}

std::string BoardPages::pageForScreen() const {
    std::vector<std::string> shown;
    for (std::size_t i = first_; i < next_; ++i) {
        shown.push_back(lineForScreen(lines_[i]));
    }
    return joinLines(shown, "\n", false);
}

void BoardPages::replacePage(std::string_view editedScreenText) {
    // How each line of the page was shown, to recognise the lines the user did not touch.
    std::map<std::string, std::string> original;
    for (std::size_t i = first_; i < next_; ++i) {
        original.emplace(lineForScreen(lines_[i]), lines_[i]);
    }
    std::vector<std::string> page;
    characters_ = 0;
    for (const std::string& line : splitScreenLines(editedScreenText)) {
        const auto found = original.find(line);
        page.push_back(found != original.end() ? found->second : board::utf8ToCp1252(line));
        characters_ += page.back().size();
    }
    const auto pageBegin = lines_.begin() + static_cast<std::ptrdiff_t>(first_);
    const auto pageEnd = lines_.begin() + static_cast<std::ptrdiff_t>(next_);
    lines_.erase(pageBegin, pageEnd);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(first_),
                  std::make_move_iterator(page.begin()), std::make_move_iterator(page.end()));
    next_ = first_ + page.size();
}

std::string BoardPages::content() const {
    return joinLines(lines_, "\r\n", true);
}

}  // namespace planora::preview
