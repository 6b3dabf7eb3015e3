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

// Corbel is a narrow humanist face: where it is missing, a sans face of similar width reads
// better in the designed places than the wider default sans.
QFont corbelFont(double points, bool bold) {
    return designFont({"Corbel", "Carlito", "Liberation Sans"}, points, bold);
}

QFont arialFont(double points, bool bold) {
    return designFont({"Arial", "Liberation Sans"}, points, bold);
}

}  // namespace planora::dialog
