#include "messages/preview_messages.h"

#include "messages/messages.h"

namespace planora::msg {

std::string previewTitle() {
    return "Anteprima di Stampa";
}

std::string mailTitle() {
    return "Invio e-mail";
}

std::string mailProgramNotFound(std::string_view program,
                                const std::filesystem::path& besideFolder) {
    return "Il programma di posta '" + std::string(program) +
           "' non si trova né nella cartella di planora " + quoted(besideFolder) +
           " né nelle cartelle della variabile PATH";
}

std::string cannotStartMailProgram(const std::filesystem::path& program, int errnum) {
    return "Impossibile avviare il programma di posta " + quoted(program) + ": " +
           systemReason(errnum);
}

std::string mailProgramFailed(const std::filesystem::path& program, int status) {
    return "Il programma di posta " + quoted(program) + " non ha spedito il tableau (stato " +
           std::to_string(status) + ")";
}

std::string mailProgramKilled(const std::filesystem::path& program, int signal) {
    return "Il programma di posta " + quoted(program) + " è stato interrotto dal segnale " +
           std::to_string(signal);
}

}  // namespace planora::msg
