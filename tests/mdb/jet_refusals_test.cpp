// What the Jet 4 writer refuses, and how it says so: every message names the file, the table,
// the field, the row and the value; a refused file leaves the target as it was.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/db/sqlite_fixture.h"
#include "tests/mdb/mdb_test_support.h"
#include "tools/mdb/jet_writer.h"

namespace planora::mdbtest {
namespace {

using jet::ColumnType;

class JetRefusals : public ::testing::Test {
  protected:
    std::filesystem::path file() const { return folder_.path() / "Prova.mdb"; }

    // The message of writing one row of one value into a column of that type.
    std::string refusal(jet::Column column, db::Value value) {
        return testing::errorMessage([&] {
            jet::DatabaseWriter writer(file(), kCreated);
            jet::TableWriter& table = writer.addTable("Ospiti", {column});
            table.addRow(std::vector<db::Value>{std::move(value)});
            writer.finish();
        });
    }

    std::string valueMessage(const std::string& shown, const std::string& type,
                             const std::string& reason) {
        return "Il valore " + shown + " del campo \"Campo\" (riga 1) della tabella \"Ospiti\" " +
               "del file '" + file().string() + "' non può essere scritto come " + type + ": " +
               reason;
    }

    std::string tableMessage(const std::string& name, const std::vector<jet::Column>& columns) {
        return testing::errorMessage([&] {
            jet::DatabaseWriter writer(file(), kCreated);
            writer.addTable(name, columns);
        });
    }

    testing::TempFolder folder_;
};

TEST_F(JetRefusals, NumbersOutsideTheirTypeNameTheValueAndTheRange) {
    EXPECT_EQ(refusal({"Campo", ColumnType::Byte}, db::Value::integer(256)),
              valueMessage("256", "Byte", "è fuori dall'intervallo da 0 a 255"));
    EXPECT_EQ(refusal({"Campo", ColumnType::Integer}, db::Value::integer(-32769)),
              valueMessage("-32769", "Intero", "è fuori dall'intervallo da -32768 a 32767"));
    EXPECT_EQ(refusal({"Campo", ColumnType::LongInteger}, db::Value::integer(2147483648)),
              valueMessage("2147483648", "Intero lungo",
                           "è fuori dall'intervallo da -2147483648 a 2147483647"));
    EXPECT_EQ(refusal({"Campo", ColumnType::Double}, db::Value::integer((1LL << 53) + 1)),
              valueMessage("9007199254740993", "Precisione doppia",
                           "un numero intero oltre 9.007.199.254.740.992 perderebbe le ultime "
                           "cifre in precisione doppia"));
    EXPECT_NE(refusal({"Campo", ColumnType::Currency}, db::Value::integer(1LL << 62))
                  .find("è fuori dall'intervallo"),
              std::string::npos);
}

TEST_F(JetRefusals, ValuesOfAnotherKindAreNotConverted) {
    EXPECT_EQ(refusal({"Campo", ColumnType::LongInteger}, db::Value::text("12")),
              valueMessage("\"12\"", "Intero lungo", "è un testo"));
    EXPECT_EQ(refusal({"Campo", ColumnType::Text}, db::Value::integer(12)),
              valueMessage("12", "Testo", "è un numero intero"));
    EXPECT_EQ(refusal({"Campo", ColumnType::Currency}, db::Value::real(1.5)),
              valueMessage("1.5", "Valuta", "è un numero con la virgola"));
    EXPECT_EQ(refusal({"Campo", ColumnType::DateTime}, db::Value::text("20261208")),
              valueMessage("\"20261208\"", "Data/ora", "è un testo"));
}

TEST_F(JetRefusals, YesNoCannotBeNull) {
    EXPECT_EQ(refusal({"Campo", ColumnType::YesNo}, db::Value()),
              valueMessage("Null", "Sì/No", "un campo Sì/No di Access non può essere Null"));
}

TEST_F(JetRefusals, DatesOutsideAccessYearsOrTheCalendar) {
    const std::string reason = "una data Access va dal 01/01/0100 al 31/12/9999";
    for (const db::DateTime date :
         {db::DateTime{99, 12, 31}, db::DateTime{10000, 1, 1}, db::DateTime{2026, 2, 29},
          db::DateTime{2026, 4, 31}, db::DateTime{2026, 1, 1, 24, 0, 0}}) {
        const db::Value value = db::Value::dateTime(date);
        EXPECT_EQ(refusal({"Campo", ColumnType::DateTime}, value),
                  valueMessage(value.toText(), "Data/ora", reason));
    }
}

TEST_F(JetRefusals, TextsLongerThanTheFieldOrNotInUcs2) {
    EXPECT_EQ(refusal({"Campo", ColumnType::Text, 5}, db::Value::text("Città!")),
              valueMessage("\"Città!\"", "Testo",
                           "il testo ha 6 caratteri, più dei 5 che il campo può tenere"));
    EXPECT_EQ(refusal({"Campo", ColumnType::Text}, db::Value::text("ciao 😀")),
              valueMessage("\"ciao 😀\"", "Testo",
                           "contiene il carattere U+1F600, oltre U+FFFF: libmdb legge i testi "
                           "Access come UCS-2 e lo renderebbe con \"??\""));
    EXPECT_EQ(refusal({"Campo", ColumnType::Memo}, db::Value::text("a\xC3")),
              valueMessage("\"a\xC3\"", "Memo", "il testo non è UTF-8 valido"));
    const std::string tooLong(65536, 'x');
    EXPECT_EQ(refusal({"Campo", ColumnType::Memo}, db::Value::text(tooLong)),
              valueMessage("\"" + std::string(40, 'x') + "…\"", "Memo",
                           "il testo ha 65.536 caratteri, più dei 65.535 che il campo può "
                           "tenere"));
}

TEST_F(JetRefusals, MalformedUtf8InEveryShape) {
    for (const std::string text :
         {"\x80", "\xC0\xAF", "\xE2\x82", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF"}) {
        EXPECT_NE(refusal({"Campo", ColumnType::Text}, db::Value::text("a" + text))
                      .find(": il testo non è UTF-8 valido"),
                  std::string::npos)
            << ::testing::PrintToString(text);
    }
}

TEST_F(JetRefusals, RowsTooWideForAPageAndRowsOfTheWrongWidth) {
    std::vector<jet::Column> columns;
    std::vector<db::Value> row;
    for (int c = 0; c < 9; ++c) {
        columns.push_back({"T" + std::to_string(c), ColumnType::Text});
        std::string text;
        for (int i = 0; i < 255; ++i) {
            text += "Ж";  // beyond Latin-1: two bytes a character
        }
        row.push_back(db::Value::text(text));
    }
    const std::string wide = testing::errorMessage([&] {
        jet::DatabaseWriter writer(file(), kCreated);
        writer.addTable("Larga", columns).addRow(row);
    });
    EXPECT_EQ(wide, "La riga 1 della tabella \"Larga\" del file '" + file().string() +
                        "' occuperebbe 4.616 byte, più dei 4.080 di una pagina Access: i testi "
                        "più lunghi vanno in campi Memo");
    const std::string narrow = testing::errorMessage([&] {
        jet::DatabaseWriter writer(file(), kCreated);
        writer.addTable("Stretta", {{"A", ColumnType::Byte}, {"B", ColumnType::Byte}})
            .addRow(std::vector<db::Value>{db::Value::integer(1)});
    });
    EXPECT_EQ(narrow, "La riga 1 della tabella \"Stretta\" del file '" + file().string() +
                          "' ha 1 valori per 2 campi");
}

TEST_F(JetRefusals, NamesAccessDoesNotTake) {
    const std::vector<jet::Column> one = {{"A", ColumnType::Byte}};
    const auto bad = [](const std::string& what, const std::string& name,
                        const std::string& reason) {
        return "Il nome di " + what + " \"" + name +
               "\" non può stare in un file Access: " + reason;
    };
    EXPECT_EQ(tableMessage("", one), bad("tabella", "", "è vuoto"));
    EXPECT_EQ(tableMessage(std::string(65, 'a'), one),
              bad("tabella", std::string(65, 'a'), "ha 65 caratteri, più dei 64 ammessi"));
    EXPECT_EQ(tableMessage(" Ospiti", one), bad("tabella", " Ospiti", "comincia con uno spazio"));
    for (const char* character : {".", "!", "`", "[", "]", "\t"}) {
        EXPECT_NE(tableMessage(std::string("Ospiti") + character, one).find("contiene"),
                  std::string::npos)
            << character;
    }
    EXPECT_EQ(tableMessage("msysPrenotazioni", one),
              bad("tabella", "msysPrenotazioni",
                  "i nomi che cominciano con \"MSys\" sono delle tabelle di sistema"));
    EXPECT_EQ(tableMessage("Ospiti", {{"Nome.Cliente", ColumnType::Text}}),
              bad("campo", "Nome.Cliente",
                  "contiene \".\", che Access non ammette nei nomi (. ! ` [ ] e i caratteri "
                  "di controllo)"));
    // Names of 64 characters in any script are fine.
    EXPECT_EQ(tableMessage(std::string(32, 'a') + std::string(32, 'b'), one), "no error");
}

TEST_F(JetRefusals, DuplicateNamesCountCaseAsTheSame) {
    EXPECT_EQ(tableMessage("Ospiti", {{"Nome", ColumnType::Text}, {"NOME", ColumnType::Memo}}),
              "La tabella \"Ospiti\" avrebbe due campi di nome \"NOME\" (Access non distingue "
              "maiuscole e minuscole nei nomi)");
    const std::string twice = testing::errorMessage([&] {
        jet::DatabaseWriter writer(file(), kCreated);
        writer.addTable("Città", {{"A", ColumnType::Byte}});
        writer.addTable("CITTÀ", {{"A", ColumnType::Byte}});
    });
    EXPECT_EQ(twice, "Il file '" + file().string() +
                         "' avrebbe due tabelle di nome \"CITTÀ\" (Access non distingue "
                         "maiuscole e minuscole nei nomi)");
}

TEST_F(JetRefusals, ColumnCountsAndTextLengths) {
    EXPECT_EQ(tableMessage("Vuota", {}), "La tabella \"Vuota\" del file '" + file().string() +
                                             "' ha 0 campi: una tabella Access ne ha da 1 a 255");
    std::vector<jet::Column> many;
    for (int c = 0; c < 256; ++c) {
        many.push_back({"C" + std::to_string(c), ColumnType::Byte});
    }
    EXPECT_NE(tableMessage("Troppi", many).find("ha 256 campi"), std::string::npos);
    many.pop_back();
    EXPECT_EQ(tableMessage("Giusti", many), "no error");
    for (const int length : {0, 256}) {
        EXPECT_EQ(tableMessage("Ospiti", {{"Nome", ColumnType::Text, length}}),
                  "Il campo \"Nome\" della tabella \"Ospiti\" avrebbe lunghezza " +
                      std::to_string(length) +
                      ": un campo Testo o Binario di Access è lungo da 1 a 255");
    }
}

TEST_F(JetRefusals, ARefusedFileLeavesTheOldOneAndNoTemporary) {
    { std::ofstream(file(), std::ios::binary) << "the previous file"; }
    refusal({"Campo", ColumnType::Byte}, db::Value::integer(-1));
    std::ifstream in(file(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the previous file");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()), {}), 1);
}

}  // namespace
}  // namespace planora::mdbtest
