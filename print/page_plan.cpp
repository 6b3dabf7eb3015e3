#include "print/page_plan.h"

#include "board/encoding.h"
#include "print/converti2.h"

namespace planora::print {

namespace {

constexpr char kBoldMark = '\xE7';  // "ç" in Windows-1252
constexpr char kFormFeed = '\f';

class Planner {
  public:
    explicit Planner(const PageLayout& layout)
        : layout_(layout), base_(boardPoints(layout)), points_(base_) {
        plan_.landscape = layout.landscape;
        plan_.duplex = layout.duplex;
    }

    void add(std::string line) {
        if (line.size() == 1 && line[0] == kFormFeed) {
            pageOpen_ = false;
            return;
        }
        if (!layout_.keepFrame) {
            Converti2(line);
        }
        startPageIfNeeded();
        plan_.pages.back().lines.push_back(StampaLaser(line));
        if (++count_ >= layout_.pageLength) {
            pageOpen_ = false;
        }
    }

    PagePlan finish() {
        if (plan_.pages.empty()) {
            startPageIfNeeded();  // an empty board still prints its first page
        }
        return std::move(plan_);
    }

  private:
    void startPageIfNeeded() {
        if (pageOpen_) {
            return;
        }
        plan_.pages.emplace_back();
        points_ = base_;
        auto& lines = plan_.pages.back().lines;
        lines.push_back({kHeadingFont, {{" ", false, headingPoints(layout_)}}});
        for (int i = 0; i < layout_.commands.topMargin(); ++i) {
            lines.push_back({layout_.fontName, {{" ", bold_, points_}}});
        }
        count_ = layout_.commands.topMargin();
        pageOpen_ = true;
    }

    // One board line: its runs between bold marks.
    PrintedLine StampaLaser(const std::string& line) {
        PrintedLine printed{layout_.fontName, {}};
        std::string buffer;
        for (const char c : line) {
            if (c != kBoldMark) {
                buffer += c;
                continue;
            }
            printed.runs.push_back({board::cp1252ToUtf8(buffer), bold_, points_});
            buffer.clear();
            bold_ = !bold_;
            points_ += bold_ ? -kBoldStep : kBoldStep;
        }
        printed.runs.push_back({board::cp1252ToUtf8(buffer), bold_, points_});
        return printed;
    }

    const PageLayout& layout_;
    const double base_;
    PagePlan plan_;
    double points_;
    bool bold_ = false;
    bool pageOpen_ = false;
    int count_ = 0;
};

}  // namespace

double boardPoints(const PageLayout& layout) {
    const int size = layout.compressed ? layout.commands.A(1) : layout.commands.A(7);
    if (layout.commands.systemPrinter() && size > 0) {
        return size;
    }
    return layout.compressed ? kDefaultCompressedPoints : kDefaultNormalPoints;
}

double headingPoints(const PageLayout& layout) {
    const int size = layout.commands.A(1);
    return layout.commands.systemPrinter() && size > 0 ? size : kDefaultCompressedPoints;
}

PagePlan planPages(const std::vector<std::string>& boardLines, const PageLayout& layout) {
    Planner planner(layout);
    for (const std::string& line : boardLines) {
        planner.add(line);
    }
    return planner.finish();
}

}  // namespace planora::print
