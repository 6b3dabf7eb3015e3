#include "print/menu/menu_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>

namespace planora::print::menu {

namespace {

struct CommandPicture {
    const char* theme;    // freedesktop icon name
    const char* label;    // what the drawn sheet says
    QColor colour;        // of the drawn sheet's band
    const char* toolTip;  // the command
};

const std::array<CommandPicture, 6> kIcons{{
    {"document-open", "DOC", QColor(0x6A, 0x8C, 0xC8), "Apri la copia d'archivio del tableau"},
    {"x-office-spreadsheet", "CSV", QColor(0x3C, 0x9A, 0x5A), "Esporta il tableau in CSV e aprilo"},
    {"application-pdf", "PDF", QColor(0xC8, 0x3C, 0x3C), "Stampa il tableau in PDF"},
    {"document-print", "STAMPA", QColor(0x50, 0x50, 0x50), "Stampa il tableau"},
    {"document-print-preview", "ANTEPR.", QColor(0xC8, 0x8C, 0x28), "Anteprima di stampa"},
    {"window-close", "ESCI", QColor(0x80, 0x80, 0x80), "Chiudi il menu di stampa"},
}};

// A sheet with a folded corner and a coloured band naming the command.
QPixmap drawnSheet(const CommandPicture& icon) {
    constexpr int kSize = 48;
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath sheet;
    sheet.moveTo(8, 2);
    sheet.lineTo(32, 2);
    sheet.lineTo(40, 10);
    sheet.lineTo(40, 46);
    sheet.lineTo(8, 46);
    sheet.closeSubpath();
    painter.setPen(QPen(Qt::darkGray, 1.5));
    painter.setBrush(Qt::white);
    painter.drawPath(sheet);
    painter.drawLine(32, 2, 32, 10);
    painter.drawLine(32, 10, 40, 10);
    for (int y = 16; y <= 22; y += 6) {
        painter.drawLine(12, y, 36, y);
    }
    painter.fillRect(QRectF(3, 28, 42, 14), icon.colour);
    painter.setPen(Qt::white);
    QFont font;
    font.setPixelSize(icon.label[3] == '\0' ? 11 : 8);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRectF(3, 28, 42, 14), Qt::AlignCenter, icon.label);
    return pixmap;
}

}  // namespace

QIcon commandIcon(int command) {
    const CommandPicture& icon = kIcons.at(static_cast<std::size_t>(command));
    return QIcon::fromTheme(icon.theme, QIcon(drawnSheet(icon)));
}

QString commandToolTip(int command) {
    return QString::fromUtf8(kIcons.at(static_cast<std::size_t>(command)).toolTip);
}

}  // namespace planora::print::menu
