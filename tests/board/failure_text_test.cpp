// The text of any failure that reaches the edge of a command or a window.

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <stdexcept>
#include <system_error>

#include "db/error.h"
#include "messages/cli_messages.h"

namespace planora::msg {
namespace {

template <typename Failure>
std::string textOf(Failure failure) {
    return failureText(std::make_exception_ptr(std::move(failure)));
}

TEST(FailureText, EachKindNamedInItalianWithTheSystemsReason) {
    EXPECT_EQ(textOf(Error("Tabella Tableau non trovata")), "Tabella Tableau non trovata");
    EXPECT_EQ(textOf(std::bad_alloc()),
              "Memoria insufficiente: l'operazione non è stata completata");
    EXPECT_EQ(textOf(std::filesystem::filesystem_error(
                  "rename", "/dati/./~FD.tmp", "/dati/FD",
                  std::make_error_code(std::errc::read_only_file_system))),
              "Operazione non riuscita sul file o sulla cartella '/dati/~FD.tmp' e '/dati/FD': il "
              "disco o la cartella è di sola lettura");
    EXPECT_EQ(textOf(std::filesystem::filesystem_error(
                  "status", std::make_error_code(std::errc::permission_denied))),
              "Operazione non riuscita: permesso negato");
    EXPECT_EQ(textOf(std::system_error(std::make_error_code(std::errc::no_space_on_device))),
              "Errore del sistema: il disco è pieno");
    EXPECT_EQ(textOf(std::invalid_argument("stoi")), "Errore imprevisto: stoi");
    EXPECT_EQ(textOf(42), "Errore imprevisto di tipo sconosciuto");
    EXPECT_EQ(failureText(nullptr), "Errore imprevisto");
}

}  // namespace
}  // namespace planora::msg
