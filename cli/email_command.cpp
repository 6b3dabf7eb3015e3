#include <filesystem>
#include <ostream>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "db/error.h"
#include "files/station.h"
#include "messages/preview_messages.h"
#include "preview/mail_handoff.h"
#include "preview/preview_board.h"
#include "preview/process.h"

namespace planora::cli {

const char* const kEmailUsage =
    "Uso: planora email [--data CARTELLA] [--no-send]\n"
    "\n"
    "Fa ciò che fa \"E-mail\" nell'anteprima di stampa, per l'intero tableau: scrive il\n"
    "tableau (FD + codice della stazione di PCLocal) nel file \"e-mail\" + codice + \".txt\"\n"
    "della cartella dei dati, preceduto dalla riga OGGETTO, poi avvia il programma di posta\n"
    "postex (accanto a planora, altrimenti nelle cartelle del PATH) nella cartella dei dati,\n"
    "ne attende la fine ed esce con il suo stato.\n"
    "\n"
    "Opzioni:\n"
    "  --data CARTELLA   la cartella dei dati (predefinita: la cartella corrente)\n"
    "  --no-send         scrive soltanto il file e ne stampa il percorso\n"
    "  --help            mostra questo aiuto\n";

namespace {

const std::vector<OptionDef> kEmailOptions = {
    {"--data", true}, {"--no-send", false}, {"--help", false}};

int runEmail(const Arguments& args, std::ostream& out, std::ostream& err) {
    const std::filesystem::path folder =
        args.value("--data").value_or(std::filesystem::current_path().string());
    const std::string station = files::stationCode();
    const preview::PreviewBoard board(folder, station);
    const std::filesystem::path handOff =
        preview::writeHandOff(folder, station, board.boardForScreen());
    if (args.has("--no-send")) {
        out << handOff.string() << '\n';
        return kExitOk;
    }
    const std::filesystem::path program = preview::findMailProgram();
    const preview::Ended ended =
        preview::runAndWait(program, {std::string(preview::kMailProgram)}, folder);
    if (!ended.exited) {
        err << "planora: " << msg::mailProgramKilled(program, ended.signal) << '\n';
        return kExitFailure;
    }
    return ended.status;
}

}  // namespace

int emailCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    return optionsCommand("email", kEmailUsage, kEmailOptions, words, out, err,
                          [&](const Arguments& args) { return runEmail(args, out, err); });
}

}  // namespace planora::cli
