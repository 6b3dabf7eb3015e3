#include "print/qt/system_printers.h"

#include <QPrinterInfo>

#include "db/error.h"
#include "messages/print_messages.h"

namespace planora::print::qt {

std::vector<std::string> systemPrinterNames() {
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames()) {
        names.push_back(name.toStdString());
    }
    return names;
}

std::optional<std::string> installedPrinter(std::string_view target) {
    const QString wanted = QString::fromUtf8(target.data(), static_cast<qsizetype>(target.size()));
    for (const QString& name : QPrinterInfo::availablePrinterNames()) {
        if (!wanted.isEmpty() && name.compare(wanted, Qt::CaseInsensitive) == 0) {
            return name.toStdString();
        }
    }
    return std::nullopt;
}

std::string choosePrinter(std::string_view target) {
    if (auto printer = installedPrinter(target)) {
        return *printer;
    }
    const QString fallback = QPrinterInfo::defaultPrinterName();
    if (fallback.isEmpty()) {
        throw Error(msg::noSystemPrinter(target));
    }
    return fallback.toStdString();
}

QPageSize defaultPaper(const std::string& printer) {
    const QPageSize paper =
        QPrinterInfo::printerInfo(QString::fromStdString(printer)).defaultPageSize();
    return paper.isValid() ? paper : QPageSize(QPageSize::A4);
}

}  // namespace planora::print::qt
