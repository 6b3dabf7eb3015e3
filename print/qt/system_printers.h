#pragma once

#include <QPageSize>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace planora::print::qt {

// The system printers in the system's order (Qt's list, which comes from CUPS).
std::vector<std::string> systemPrinterNames();

// The installed printer whose name is the target (without regard to case), if any.
std::optional<std::string> installedPrinter(std::string_view target);

// The printer system-printer mode prints on: the one the target names, else the system's
// default. Throws planora::Error when there is neither.
std::string choosePrinter(std::string_view target);

// The printer's default paper; A4 when it names none.
QPageSize defaultPaper(const std::string& printer);

}  // namespace planora::print::qt
