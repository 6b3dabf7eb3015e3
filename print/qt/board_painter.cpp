#include "print/qt/board_painter.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>

#include "db/error.h"
#include "messages/print_messages.h"

namespace planora::print::qt {

namespace {

constexpr double kMarginPoints = 18;  // a quarter inch, as most printers leave unprinted

QFont runFont(const QString& family, const TextRun& run, bool monospaced) {
    QFont font;
    font.setFamilies({family, standInFace(family)});
    if (monospaced) {
        font.setStyleHint(QFont::TypeWriter);
    }
    font.setPointSizeF(run.points);
    font.setBold(run.bold);
    return font;
}

class PagePainter {
  public:
    explicit PagePainter(QPdfWriter& writer) : writer_(writer) {}

    bool begin() { return painter_.begin(&writer_); }
    void end() { painter_.end(); }

    void page(const PlannedPage& page, bool first) {
        if (!first) {
            newSheet();
        }
        for (const PrintedLine& line : page.lines) {
            draw(line);
        }
    }

  private:
    void newSheet() {
        writer_.newPage();
        y_ = 0;
    }

    void draw(const PrintedLine& line) {
        const QString family = QString::fromStdString(line.font);
        const bool monospaced = family != QString(kHeadingFont);
        const QFont last = runFont(family, line.runs.back(), monospaced);
        const double height = QFontMetricsF(last, &writer_).lineSpacing();
        if (y_ > 0 && y_ + height > writer_.height()) {
            newSheet();
        }
        double x = 0;
        for (const TextRun& run : line.runs) {
            const QFont font = runFont(family, run, monospaced);
            const QFontMetricsF metrics(font, &writer_);
            const QString text = QString::fromStdString(run.text);
            painter_.setFont(font);
            painter_.drawText(QPointF(x, y_ + metrics.ascent()), text);
            x += metrics.horizontalAdvance(text);
        }
        y_ += height;
    }

    QPdfWriter& writer_;
    QPainter painter_;
    double y_ = 0;
};

}  // namespace

QString standInFace(const QString& family) {
    if (family.compare("Courier New", Qt::CaseInsensitive) == 0) {
        return "Liberation Mono";
    }
    if (family.compare("Times New Roman", Qt::CaseInsensitive) == 0) {
        return "Liberation Serif";
    }
    if (family.compare("Arial", Qt::CaseInsensitive) == 0) {
        return "Liberation Sans";
    }
    return family;
}

QByteArray renderPdf(const PagePlan& plan, const QPageSize& paper) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle("Tableau");
    writer.setCreator("Planora");
    writer.setPageLayout(QPageLayout(
        paper, plan.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
        QMarginsF(kMarginPoints, kMarginPoints, kMarginPoints, kMarginPoints), QPageLayout::Point));
    PagePainter painter(writer);
    if (!painter.begin()) {
        throw Error(msg::pdfCannotStart("Tableau"));
    }
    for (std::size_t i = 0; i < plan.pages.size(); ++i) {
        painter.page(plan.pages[i], i == 0);
    }
    painter.end();
    return bytes;
}

}  // namespace planora::print::qt
