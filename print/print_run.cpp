#include "print/print_run.h"

#include "files/station.h"
#include "print/board_lines.h"

namespace planora::print {

PrintJob preparePrint(const PrintContext& context, const PrintOptions& options,
                      const Environment& environment) {
    PrintJob job{context, options, readPrintSettings(context, options, environment), {}};
    job.boardLines =
        readBoardLines(files::existingBoardFile(context.dataFolder, context.stationCode));
    return job;
}

RawLayout rawLayout(const PrintJob& job) {
    return RawLayout{job.settings.commands, job.settings.pageLength, job.options.compressed,
                     hasOptionLetter(job.context.codiceAssistenza, 'K'),
                     hasOptionLetter(job.context.codiceAssistenza, 'U')};
}

PageLayout pageLayout(const PrintJob& job) {
    return PageLayout{job.settings.commands,
                      job.settings.fontName,
                      job.settings.pageLength,
                      job.options.compressed,
                      job.options.landscape,
                      job.options.duplex,
                      hasOptionLetter(job.context.codiceAssistenza, 'K')};
}

std::string jobTitle(const PrintJob& job) {
    return "Tableau FD" + job.context.stationCode + " - " + job.settings.destination.name;
}

std::string printRaw(const PrintJob& job, const QueueLookup& isQueue) {
    const RawTarget target = classifyRawTarget(job.settings.target, job.settings.destination.name,
                                               job.context.dataFolder, isQueue);
    const std::string bytes =
        rawStream(job.boardLines, rawLayout(job), job.settings.destination.tipoStampa);
    CupsDocument document;
    document.title = jobTitle(job);
    return sendRaw(target, bytes, document);
}

std::string pdfFileName(std::string_view stationCode) {
    return "fd" + std::string(stationCode) + ".pdf";
}

}  // namespace planora::print
