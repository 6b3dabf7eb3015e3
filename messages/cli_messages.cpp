#include "messages/cli_messages.h"

#include <new>
#include <system_error>

#include "db/error.h"
#include "messages/messages.h"

namespace planora::msg {

namespace {

std::string word(std::string_view text) {
    // Appended rather than concatenated: GCC 12 warns falsely (-Wrestrict) on "'" + s + "'".
    std::string out(1, '\'');
    out += printable(text);
    out += '\'';
    return out;
}

// The system's reason of an error code, when it is an errno value.
std::string reasonOf(const std::error_code& code) {
    if (code.category() == std::generic_category() || code.category() == std::system_category()) {
        return systemReason(code.value());
    }
    return code.message();
}

std::string fileSystemFailure(const std::filesystem::filesystem_error& failure) {
    std::string text = "Operazione non riuscita";
    if (!failure.path1().empty()) {
        text += " sul file o sulla cartella '" + shown(failure.path1()) + "'";
    }
    if (!failure.path2().empty()) {
        text += " e '" + shown(failure.path2()) + "'";
    }
    return text + ": " + reasonOf(failure.code());
}

}  // namespace

std::string unknownCommand(std::string_view command) {
    return "comando sconosciuto " + word(command);
}

std::string unknownOption(std::string_view option) {
    return "opzione sconosciuta " + word(option);
}

std::string optionNeedsValue(std::string_view option) {
    return printable(option) + " richiede un valore";
}

std::string optionRequired(std::string_view option) {
    return "manca l'opzione obbligatoria " + printable(option);
}

std::string optionNeedsNumber(std::string_view option, long long minimum, long long maximum,
                              std::string_view value) {
    return printable(option) + " richiede un numero intero da " + std::to_string(minimum) + " a " +
           std::to_string(maximum) + ", non " + word(value);
}

std::string unexpectedArgument(std::string_view text) {
    return "argomento inatteso " + word(text);
}

std::string commandNeedsQt(std::string_view command) {
    return "il comando " + std::string(command) +
           " stampa attraverso Qt e questo programma è stato compilato senza Qt";
}

std::string noWindowInThisBuild() {
    return "questa versione di planora non ha la finestra principale";
}

std::string dataFolderMissing() {
    return "manca la cartella dei dati DIR";
}

std::string oneDataFolderOnly() {
    return "si può indicare una sola cartella dei dati";
}

std::string dataFolderHoldsDatabases(const std::filesystem::path& folder,
                                     const std::filesystem::path& file) {
    return "la cartella '" + shown(folder) + "' contiene già " + file.filename().string() +
           " e altri file di database: usare --force per sostituirli";
}

std::string demoWritten(const std::filesystem::path& folder) {
    return "Hotel dimostrativo scritto in " + shown(folder);
}

std::string warningLine(std::string_view warning) {
    return "attenzione: " + std::string(warning);
}

std::string failureText(const std::exception_ptr& failure) {
    if (!failure) {
        return "Errore imprevisto";
    }
    try {
        std::rethrow_exception(failure);
    } catch (const Error& error) {
        return error.what();
    } catch (const std::bad_alloc&) {
        return "Memoria insufficiente: l'operazione non è stata completata";
    } catch (const std::filesystem::filesystem_error& error) {
        return fileSystemFailure(error);
    } catch (const std::system_error& error) {
        return "Errore del sistema: " + reasonOf(error.code());
    } catch (const std::exception& error) {
        return std::string("Errore imprevisto: ") + error.what();
    } catch (...) {
        return "Errore imprevisto di tipo sconosciuto";
    }
}

}  // namespace planora::msg
