#include "cli/qt/print_commands_qt.h"

#include <QGuiApplication>
#include <cstdio>
#include <optional>
#include <ostream>

#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/print_commands.h"
#include "db/error.h"
#include "messages/print_messages.h"
#include "print/qt/stampa.h"

namespace planora::cli {

namespace {

// Qt's own notices (a missing runtime folder, a font substituted) are not the command's
// output; its failures come as planora::Error.
void quietQtNotices(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "planora: %s\n", text.toLocal8Bit().constData());
    }
}

// The commands draw nothing on a screen: without an application of the caller's they run on
// Qt's offscreen platform, so they work from a script or a scheduled job.
int withQt(const std::function<int()>& body) {
    if (QCoreApplication::instance() != nullptr) {
        return body();
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static char name[] = "planora";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    struct QuietNotices {
        QtMessageHandler previous = qInstallMessageHandler(quietQtNotices);
        ~QuietNotices() { qInstallMessageHandler(previous); }
    } quiet;
    QGuiApplication app(argc, argv);
    return body();
}

int runPrintCommand(const char* command, const char* usage, const std::vector<std::string>& words,
                    std::ostream& out, std::ostream& err, bool pdf) {
    return optionsCommand(command, usage, printOptionDefs(), words, out, err,
                          [&](const Arguments& args) {
                              if (!pdf) {
                                  args.required("--destination");
                              }
                              const print::PrintContext context = printContextOf(args);
                              const print::PrintOptions options = printOptionsOf(args);
                              return withQt([&] {
                                  if (!pdf) {
                                      out << print::qt::stampa(context, options).where << '\n';
                                      return kExitOk;
                                  }
                                  const auto outcome = print::qt::stampaPdf(context, options);
                                  if (!outcome) {
                                      throw Error(msg::noPdfDestination());
                                  }
                                  out << outcome->where << '\n';
                                  return kExitOk;
                              });
                          });
}

}  // namespace

int pdfCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    return runPrintCommand("pdf", kPdfUsage, words, out, err, true);
}

int printCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    return runPrintCommand("print", kPrintUsage, words, out, err, false);
}

void addPrintCommands() {
    addCommand("pdf", &pdfCommand);
    addCommand("print", &printCommand);
}

}  // namespace planora::cli
