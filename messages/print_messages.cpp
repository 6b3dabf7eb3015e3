#include "messages/print_messages.h"

#include "messages/messages.h"

namespace planora::msg {

namespace {

std::string quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

// The reason of a CUPS failure, or a plain one when CUPS gave none.
std::string reasonOr(std::string_view reason, std::string_view fallback) {
    return reason.empty() ? std::string(fallback) : std::string(reason);
}

// "LPT1" and its device are both named when they differ.
std::string targetName(std::string_view target, const std::filesystem::path& device) {
    const std::string path = shown(device);
    return path == target ? quoted(target) : quoted(target) + " (" + path + ")";
}

}  // namespace

std::string noPdfDestination() {
    return "Nessuna stampante PDF impostata!";
}

std::string noDestinations() {
    return "Nessuna destinazione di stampa in Stampanti.mdb per l'hotel 1";
}

std::string noArchiveCopy(const std::filesystem::path& copy, std::string_view reason) {
    return "La copia d'archivio del tableau " + quoted(copy) +
           " non è stata creata: " + std::string(reason);
}

std::string cannotOpenDocument(const std::filesystem::path& file) {
    return "Impossibile aprire il file " + quoted(file) +
           ": nessun programma del desktop ha accettato di aprirlo";
}

std::string destinationNotFound(std::string_view destination) {
    return "La destinazione di stampa " + quoted(destination) +
           " non esiste nella tabella Stampanti di Stampanti.mdb";
}

std::string commandByteOutOfRange(std::string_view field, int tipoStampa, int group, int value) {
    return "Il valore " + std::to_string(value) + " del gruppo " + std::to_string(group) +
           " del campo " + std::string(field) + " in SetStampa (TipoStampa " +
           std::to_string(tipoStampa) + ") non è un byte da inviare alla stampante (0-255)";
}

std::string noTarget(std::string_view destination) {
    return "La destinazione di stampa " + quoted(destination) +
           " non indica dove stampare: il campo Linea in Stampanti è vuoto e non è stata scelta "
           "una stampante";
}

std::string cannotOpenTarget(std::string_view target, const std::filesystem::path& device,
                             int errnum) {
    return "Impossibile aprire la destinazione di stampa " + targetName(target, device) + ": " +
           systemReason(errnum);
}

std::string cannotWriteTarget(std::string_view target, const std::filesystem::path& device,
                              int errnum) {
    return "Impossibile inviare la stampa a " + targetName(target, device) + ": " +
           systemReason(errnum) + "; la stampa è incompleta";
}

std::string cupsJobRefused(std::string_view queue, std::string_view reason) {
    return "La stampante " + quoted(queue) +
           " non ha accettato la stampa: " + reasonOr(reason, "motivo sconosciuto");
}

std::string cupsJobFailed(std::string_view queue, int job, std::string_view state,
                          std::string_view reason) {
    return "La stampa " + std::to_string(job) + " sulla stampante " + quoted(queue) + " " +
           std::string(state) + ": " + reasonOr(reason, "motivo non indicato da CUPS");
}

std::string cupsPrinterStopped(std::string_view queue, int job, std::string_view reason) {
    return "La stampante " + quoted(queue) + " è ferma (" +
           reasonOr(reason, "motivo non indicato da CUPS") + "): la stampa " + std::to_string(job) +
           " è stata annullata";
}

std::string cupsJobTimedOut(std::string_view queue, int job, int seconds) {
    return "La stampa " + std::to_string(job) + " sulla stampante " + quoted(queue) +
           " non è terminata entro " + std::to_string(seconds) +
           " secondi ed è stata annullata: controllare la stampante";
}

std::string cupsJobState(int ippJobState) {
    switch (ippJobState) {
        case 7:
            return "è stata annullata";
        case 8:
            return "è fallita";
        default:
            return "non è terminata";
    }
}

std::string noSystemPrinter(std::string_view target) {
    const std::string named = target.empty()
                                  ? std::string("Nessuna stampante indicata")
                                  : "La stampante " + quoted(target) + " non è installata";
    return named +
           " e non c'è una stampante di sistema predefinita: sceglierne una dall'elenco "
           "delle stampanti";
}

std::string printerCannotStart(std::string_view printer) {
    return "Impossibile avviare la stampa sulla stampante " + quoted(printer);
}

std::string pdfCannotStart(const std::filesystem::path& file) {
    return "Impossibile creare il PDF " + quoted(file);
}

}  // namespace planora::msg
