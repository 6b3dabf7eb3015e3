#include "print/raw_stream.h"

#include "board/helpers.h"
#include "db/error.h"
#include "messages/print_messages.h"

namespace planora::print {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr char kFormFeed = '\f';

// The five command bytes: A(1) to A(5) for compressed print, else A(7) to A(11); none without
// a command set.
std::string commandBytes(const RawLayout& layout, int tipoStampa) {
    if (!layout.commands.found) {
        return {};
    }
    const int first = layout.compressed ? 1 : 7;
    std::string bytes;
    for (int k = first; k < first + 5; ++k) {
        const int value = layout.commands.A(k);
        if (value < 0 || value > 255) {
            throw Error(msg::commandByteOutOfRange("Compresso", tipoStampa, k, value));
        }
        bytes += static_cast<char>(value);
    }
    return bytes;
}

class RawPages {
  public:
    explicit RawPages(const RawLayout& layout) : layout_(layout) {}

    void line(const std::string& text) {
        startPageIfNeeded();
        out_ += text;
        out_ += kLineEnd;
        ++count_;
        if (count_ == layout_.pageLength) {
            endPage();
        }
    }
    void formFeed() {
        startPageIfNeeded();
        endPage();
    }
    // The last page is ended when it holds more than nothing; one holding only the top margin
    // of a page begun by a page break is left out.
    std::string finish() {
        if (!pageOpen_ && pagesEnded_ == 0) {
            startPageIfNeeded();  // the first page always starts, even for an empty board
        }
        if (pageOpen_ && count_ > 0) {
            endPage();
        }
        return std::move(out_);
    }
    void append(std::string_view bytes) { out_ += bytes; }

  private:
    void startPageIfNeeded() {
        if (pageOpen_) {
            return;
        }
        for (int i = 0; i < layout_.commands.topMargin(); ++i) {
            out_ += ' ';
            out_ += kLineEnd;
        }
        count_ = layout_.commands.topMargin();
        pageOpen_ = true;
    }
    void endPage() {
        if (layout_.fillPages) {
            for (const int filled = layout_.commands.filledLength(layout_.compressed);
                 count_ < filled; ++count_) {
                out_ += kLineEnd;
            }
        } else {
            out_ += kFormFeed;
        }
        count_ = 0;
        pageOpen_ = false;
        ++pagesEnded_;
    }

    const RawLayout& layout_;
    std::string out_;
    int count_ = 0;
    int pagesEnded_ = 0;
    bool pageOpen_ = false;
};

}  // namespace

bool hasOptionLetter(std::string_view codiceAssistenza, char letter) {
    return codiceAssistenza.find(letter) != std::string_view::npos;
}

std::string rawStream(const std::vector<std::string>& boardLines, const RawLayout& layout,
                      int tipoStampa) {
    RawPages pages(layout);
    pages.append(commandBytes(layout, tipoStampa));
    for (std::string line : boardLines) {
        if (!layout.keepFrame) {
            board::ConvertiGrafici(line);
        }
        if (line.size() == 1 && line[0] == kFormFeed) {
            pages.formFeed();
        } else {
            pages.line(line);
        }
    }
    return pages.finish();
}

}  // namespace planora::print
