#include "print/qt/stampa.h"

#include "files/no_case.h"
#include "files/safe_writer.h"
#include "print/print_run.h"
#include "print/qt/board_painter.h"
#include "print/qt/system_printers.h"

namespace planora::print::qt {

namespace {

std::string_view bytesOf(const QByteArray& pdf) {
    return {pdf.constData(), static_cast<std::size_t>(pdf.size())};
}

PrintOutcome writeBuiltInPdf(const PrintJob& job) {
    const std::filesystem::path file =
        files::fileNoCase(job.context.dataFolder, pdfFileName(job.context.stationCode));
    const QByteArray pdf =
        renderPdf(planPages(job.boardLines, pageLayout(job)), QPageSize(QPageSize::A4));
    files::writeFileSafely(file, bytesOf(pdf));
    return {PrintOutcome::Kind::Pdf, file.string()};
}

// System-printer mode: the pages as a PDF, sent to the printer as one checked CUPS job.
PrintOutcome printOnSystemPrinter(const PrintJob& job) {
    const std::string printer = choosePrinter(job.settings.target);
    const QByteArray pdf =
        renderPdf(planPages(job.boardLines, pageLayout(job)), defaultPaper(printer));
    CupsDocument document;
    document.title = jobTitle(job);
    document.format = kPdfFormat;
    if (job.options.duplex) {
        document.options.emplace_back("sides", "two-sided-long-edge");
    }
    printCupsJob(printer, bytesOf(pdf), document);
    return {PrintOutcome::Kind::SystemPrinter, printer};
}

}  // namespace

PrintOutcome stampa(const PrintContext& context, const PrintOptions& options) {
    const PrintJob job = preparePrint(context, options);
    if (isPdfDestination(job.settings.destination.name) && !installedPrinter(job.settings.target)) {
        return writeBuiltInPdf(job);
    }
    if (!job.settings.commands.systemPrinter()) {
        return {PrintOutcome::Kind::Raw, printRaw(job)};
    }
    return printOnSystemPrinter(job);
}

std::optional<PrintOutcome> stampaPdf(const PrintContext& context, PrintOptions options) {
    const auto destination = lastPdfDestination(destinationNames(context.dataFolder));
    if (!destination) {
        return std::nullopt;
    }
    options.destination = *destination;
    return stampa(context, options);
}

}  // namespace planora::print::qt
