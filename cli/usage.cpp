#include "cli/commands.h"

namespace planora::cli {

const char* const kMainUsage =
    "Uso: planora [--data DIR]\n"
    "     planora COMANDO [OPZIONI]\n"
    "\n"
    "Senza comando apre la finestra principale sulla cartella dei dati (la cartella corrente,\n"
    "o DIR indicata con --data).\n"
    "\n"
    "Comandi:\n"
    "  board   scrive nel file del tableau il tableau del giorno di un hotel\n"
    "  csv     esporta il tableau nel file CSV (fd + codice + .csv)\n"
    "  pdf     stampa il tableau sulla destinazione PDF o nel PDF fd + codice + .pdf\n"
    "  print   stampa il tableau su una destinazione di Stampanti\n"
    "  email   consegna il tableau al programma di posta postex (planora email --help)\n"
    "  demo    scrive una cartella dei dati con un hotel dimostrativo\n"
    "\n"
    "Opzioni:\n"
    "  --data DIR   la cartella dei dati della finestra principale\n"
    "  --help       mostra questo aiuto; 'planora COMANDO --help' descrive un comando\n";

const char* const kBoardUsage =
    "Uso: planora board --hotel N --tableau N --from CAMERA --to CAMERA --date GG/MM/AAAA\n"
    "                   [--amounts] [--select-date DATA] [--departures]\n"
    "                   [--company TESTO] [--data DIR] [--show]\n"
    "\n"
    "Scrive il file del tableau (FD + codice della stazione di PCLocal) nella cartella dei dati\n"
    "e ne stampa il percorso. Un importo che non entra nella sua colonna è indicato con\n"
    "######### e segnalato sullo standard error. Un intervallo di camere o una data non validi\n"
    "stampano il messaggio ed escono con 2.\n"
    "\n"
    "Opzioni:\n"
    "  --hotel N            numero dell'hotel\n"
    "  --tableau N          numero del tableau dell'hotel\n"
    "  --from CAMERA        prima camera (al più 6 caratteri; le camere si confrontano come "
    "testi)\n"
    "  --to CAMERA          ultima camera (al più 6 caratteri)\n"
    "  --date GG/MM/AAAA    data di riferimento\n"
    "  --amounts            \"Aggiungere arrangiamento\": importo e agenzia nelle note\n"
    "  --select-date DATA   data di selezione: gli arrivi (o le partenze) di quel giorno\n"
    "  --departures         con --select-date, \"Partenze\" invece di \"Arrivi\"\n"
    "  --company TESTO      \"per Ditta\": solo gli ospiti delle ditte il cui nome inizia così\n"
    "                       (al più 40 caratteri)\n"
    "  --data DIR           cartella dei dati (predefinita: la cartella corrente)\n"
    "  --show               stampa il tableau sul terminale prima del suo percorso\n"
    "  --help               mostra questo aiuto\n";

const char* const kDemoUsage =
    "Uso: planora demo DIR [--rooms N] [--cards N] [--history N] [--seed N]\n"
    "                      [--format sqlite|mdb] [--force]\n"
    "\n"
    "Scrive un hotel dimostrativo nella cartella dei dati DIR (creata se manca): due hotel con\n"
    "due tableau ciascuno, ospiti, prenotazioni, storico e impostazioni di stampa, con date\n"
    "intorno a oggi.\n"
    "\n"
    "Opzioni:\n"
    "  --rooms N     camere di tutti gli hotel e tableau\n"
    "  --cards N     schede degli ospiti presenti\n"
    "  --history N   schede dei soggiorni passati\n"
    "  --seed N      seme dei nomi e dei soggiorni generati (stesso seme, stesso hotel)\n"
    "  --format F    formato dei file di database: sqlite (predefinito) o mdb (Access, Jet 4)\n"
    "  --force       sostituisce i file di database (dell'uno o dell'altro formato) già\n"
    "                presenti in DIR\n"
    "  --help        mostra questo aiuto\n";

}  // namespace planora::cli
