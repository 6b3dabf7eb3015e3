#pragma once

#include <QFont>

namespace planora::dialog {

// The faces the windows are designed with, by family name; fontconfig stands in a close face
// where they are not installed.
QFont corbelFont(double points, bool bold = false);
QFont arialFont(double points, bool bold = false);

}  // namespace planora::dialog
