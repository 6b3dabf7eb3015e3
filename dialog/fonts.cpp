#include "dialog/fonts.h"

#include <QStringList>

namespace planora::dialog {

namespace {

QFont designFont(const QStringList& families, double points, bool bold) {
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

}  // namespace

// Corbel is a narrow face and the captions are designed to just fit in it: where it is missing,
// a narrow sans face keeps them whole rather than the wider default sans.
QFont corbelFont(double points, bool bold) {
    return designFont({"Corbel", "Carlito", "Liberation Sans Narrow"}, points, bold);
}

QFont arialFont(double points, bool bold) {
    return designFont({"Arial", "Liberation Sans"}, points, bold);
}

}  // namespace planora::dialog
