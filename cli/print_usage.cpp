#include "cli/print_commands.h"

namespace planora::cli {

const char* const kCsvUsage =
    "Uso: planora csv [--data DIR]\n"
    "\n"
    "Converte il file del tableau (FD + codice della stazione di PCLocal) nel file CSV\n"
    "fd + codice + .csv della cartella dei dati, con i separatori di SeparatoreXLS.txt,\n"
    "e ne scrive il percorso.\n"
    "\n"
    "Opzioni:\n"
    "  --data DIR   cartella dei dati (predefinita: la cartella corrente)\n"
    "  --help       mostra questo aiuto\n";

const char* const kPdfUsage =
    "Uso: planora pdf [--data DIR] [--compressed] [--landscape] [--hotel N]\n"
    "\n"
    "Stampa il tableau sull'ultima destinazione di Stampanti il cui nome contiene \"PDF\".\n"
    "Se la destinazione non indica una stampante installata, scrive il PDF\n"
    "fd + codice della stazione + .pdf nella cartella dei dati. Scrive il percorso del PDF\n"
    "o il nome della stampante.\n"
    "\n"
    "Opzioni:\n"
    "  --data DIR     cartella dei dati (predefinita: la cartella corrente)\n"
    "  --compressed   \"Stampa Compressa\"\n"
    "  --landscape    \"Stampa orizzontale\"\n"
    "  --hotel N      hotel del tableau, per le righe per pagina di Contatori (predefinito 1)\n"
    "  --help         mostra questo aiuto\n";

const char* const kPrintUsage =
    "Uso: planora print --destination NOME [--printer NOME] [--compressed] [--landscape]\n"
    "                   [--duplex] [--hotel N] [--data DIR]\n"
    "\n"
    "Stampa il tableau sulla destinazione NOME di Stampanti, come il comando Stampa del\n"
    "menu di stampa, e scrive dove ha stampato (file, dispositivo, stampante o PDF).\n"
    "\n"
    "Opzioni:\n"
    "  --destination NOME   destinazione di stampa (Destinazione in Stampanti)\n"
    "  --printer NOME       stampante di sistema scelta: sostituisce la linea della destinazione\n"
    "  --compressed         \"Stampa Compressa\"\n"
    "  --landscape          \"Stampa orizzontale\"\n"
    "  --duplex             \"Stampa fronte / retro\"\n"
    "  --hotel N            hotel del tableau, per le righe per pagina di Contatori (predefinito "
    "1)\n"
    "  --data DIR           cartella dei dati (predefinita: la cartella corrente)\n"
    "  --help               mostra questo aiuto\n";

}  // namespace planora::cli
