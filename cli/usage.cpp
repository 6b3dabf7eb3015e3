#include "cli/commands.h"

namespace planora::cli {

const char* const kMainUsage =
    "Usage: planora [--data DIR]\n"
    "       planora COMMAND [OPTIONS]\n"
    "\n"
    "Without a command, opens the main window on the data folder (the current folder, or DIR\n"
    "given with --data).\n"
    "\n"
    "Commands:\n"
    "  board   write the daily board of one hotel to the board file\n"
    "  demo    write a demo hotel data folder\n"
    "\n"
    "Options:\n"
    "  --data DIR   the data folder of the main window\n"
    "  --help       show this help; 'planora COMMAND --help' describes a command\n";

const char* const kBoardUsage =
    "Usage: planora board --hotel N --tableau N --from ROOM --to ROOM --date DD/MM/YYYY\n"
    "                     [--amounts] [--select-date DATE] [--departures]\n"
    "                     [--company TEXT] [--data DIR] [--show]\n"
    "\n"
    "Writes the board file (FD + station code of PCLocal) into the data folder and prints\n"
    "its path. A rejected room range or date prints the message and exits with 2.\n"
    "\n"
    "Options:\n"
    "  --hotel N            hotel number\n"
    "  --tableau N          board layout number of the hotel\n"
    "  --from ROOM          first room (rooms compare as text)\n"
    "  --to ROOM            last room\n"
    "  --date DD/MM/YYYY    reference date\n"
    "  --amounts            \"Aggiungere arrangiamento\": amount and agency in the notes\n"
    "  --select-date DATE   selection date: list the arrivals (or departures) of that day\n"
    "  --departures         with --select-date, \"Partenze\" instead of \"Arrivi\"\n"
    "  --company TEXT       \"per Ditta\": only guests of companies whose name begins so\n"
    "  --data DIR           data folder (default: the current folder)\n"
    "  --show               print the board to the terminal before its path\n"
    "  --help               show this help\n";

const char* const kDemoUsage =
    "Usage: planora demo DIR [--rooms N] [--cards N] [--history N] [--seed N]\n"
    "                        [--format sqlite|mdb] [--force]\n"
    "\n"
    "Writes a demo hotel into the data folder DIR (created when missing): two hotels with\n"
    "two board layouts each, guests, reservations, history and print settings, dated around\n"
    "today.\n"
    "\n"
    "Options:\n"
    "  --rooms N     rooms over all hotels and layouts\n"
    "  --cards N     current guest cards\n"
    "  --history N   guest cards of past stays\n"
    "  --seed N      seed of the generated names and stays (same seed, same hotel)\n"
    "  --format F    database files: sqlite (the default) or mdb (Access, Jet 4)\n"
    "  --force       replace database files (of either format) already in DIR\n"
    "  --help        show this help\n";

}  // namespace planora::cli
