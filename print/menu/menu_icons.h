#pragma once

#include <QIcon>

namespace planora::print::menu {

// The picture of a command button: the desktop theme's icon for it, else one drawn here.
QIcon commandIcon(int command);
// What the button does, for its tooltip.
QString commandToolTip(int command);

}  // namespace planora::print::menu
