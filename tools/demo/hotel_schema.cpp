#include "tools/demo/hotel_schema.h"

#include <algorithm>

#include "db/error.h"
#include "files/no_case.h"

namespace planora::demo {

namespace {

ColumnDecl integer(std::string name) {
    return {std::move(name), "INTEGER"};
}
ColumnDecl text(std::string name) {
    return {std::move(name), "TEXT"};
}
ColumnDecl date(std::string name) {
    return {std::move(name), "TEXT"};
}  // yyyymmdd
ColumnDecl amount(std::string name) {
    return {std::move(name), "CURRENCY"};
}

TableSchema guestCards() {
    return {"Scheda_Cliente",
            {integer("NumeroHotel"), text("NumeroCamera"), integer("NumeroProgressivo"),
             integer("NumeroComponente"), date("DataArrivo"), date("DataPartenza"),
             date("DataPartenzaReale"), text("Partito"), text("NomeCliente"), text("Commento"),
             integer("CodiceAgenzia"), integer("CodiceCapoGruppo"), integer("CodiceCapoFamiglia")}};
}

TableSchema companies() {
    return {"Ditta_Intestataria",
            {integer("NumeroHotel"), integer("CodiceCliente"), integer("NumeroConto"),
             text("RagioneSociale")}};
}

TableSchema arrangements() {
    return {"Arrangiamento",
            {integer("NumeroHotel"), integer("CodiceCliente"), date("DataInizio"), date("DataFine"),
             text("Arrangiamento"), amount("ImportoTotale")}};
}

std::vector<DatabaseSchema> buildSchema() {
    return {
        {"NumeriCamere.sqlite",
         {{"NumeriCamere",
           {integer("NumeroHotel"), integer("NumeroTableau"), text("NumeroCamera"),
            text("TipoCamera")}}}},
        {"TipiCamere.sqlite", {{"TipiCamere", {text("Sigla"), text("Tipologia")}}}},
        {"Tableau.sqlite",
         {{"Tableau", {integer("NumeroHotel"), integer("Codice"), text("Descrizione")}}}},
        {"AnagraficaHotels.sqlite",
         {{"AnagraficaHotels",
           {integer("Numero"), text("RagioneSociale"), text("CodiceAssistenza")}}}},
        {"Scheda_Cliente.sqlite", {guestCards()}},
        {"SchedaStoricoClienti.sqlite", {guestCards()}},
        {"Ditta_Intestataria.sqlite", {companies()}},
        {"DittaStoricoClienti.sqlite", {companies()}},
        {"Arrangiamento.sqlite", {arrangements()}},
        {"ArrangiamentoStoricoClienti.sqlite", {arrangements()}},
        {"Camere_Prenotazione.sqlite",
         {{"Camere_Prenotazione",
           {integer("NumeroHotel"), text("NumeroCamera"), integer("NumeroPrenotazione"),
            date("DataArrivo"), date("DataPartenza"), integer("NumeroPersone"),
            text("TipoPrenotazione"), text("Note"), text("Trattamento"), amount("Prezzo")}}}},
        {"Scheda_Prenotazione.sqlite",
         {{"Scheda_Prenotazione",
           {integer("NumeroHotel"), integer("NumeroPrenotazione"), text("TipoPrenotazione"),
            text("NomeCliente"), text("Ditta"), text("Agenzia")}}}},
        {"Arrangiamenti.sqlite",
         {{"NomiArrangiamenti", {integer("NumeroHotel"), text("Sigla"), text("Tipo")}}}},
        {"AgenzieAbituali.sqlite",
         {{"AgenzieAbituali",
           {integer("NumeroHotel"), integer("Codice"), text("RagioneSociale")}}}},
        {"Stampanti.sqlite",
         {{"Stampanti",
           {integer("NumeroHotel"), text("Destinazione"), integer("TipoStampa"), text("Linea")}},
          {"SetStampa", {integer("TipoStampa"), text("Compresso"), text("Grassetto")}}}},
        {"Contatori.sqlite",
         {{"Contatori",
           {integer("NumeroHotel"), integer("LungPagComp"), integer("LungPagNoComp")}}}},
    };
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names of files, tables and fields are ASCII and found without regard to case.
bool equalNoCase(std::string_view a, std::string_view b) {
    return a == b ||
           std::ranges::equal(a, b, [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

// "Tableau", "Tableau.mdb" and "Tableau.sqlite" all name the same file.
std::string_view stem(std::string_view file) {
    const auto dot = file.rfind('.');
    return dot == std::string_view::npos ? file : file.substr(0, dot);
}

const DatabaseSchema& schemaOf(std::string_view file) {
    for (const DatabaseSchema& database : hotelSchema()) {
        if (equalNoCase(stem(database.file), stem(file))) {
            return database;
        }
    }
    throw Error("No database file " + std::string(file) + " in the hotel data folder");
}

}  // namespace

const std::vector<DatabaseSchema>& hotelSchema() {
    static const std::vector<DatabaseSchema> schema = buildSchema();
    return schema;
}

std::vector<std::filesystem::path> existingDatabaseFiles(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> found;
    for (const DatabaseSchema& database : hotelSchema()) {
        for (const char* extension : {".sqlite", ".mdb"}) {
            const std::string name = std::string(stem(database.file)) + extension;
            if (auto file = files::findFileNoCase(folder, name)) {
                found.push_back(*file);
            }
        }
    }
    return found;
}

struct HotelData::OpenTable {
    const TableSchema* schema;
    RowInserter insert;
    std::vector<db::Value> row;
};

struct HotelData::OpenFile {
    const DatabaseSchema* schema;
    SqliteWriter writer;
    std::vector<OpenTable> tables;
    OpenFile(const DatabaseSchema& s, const std::filesystem::path& folder)
        : schema(&s), writer(folder / s.file) {}
};

HotelData::HotelData(const std::filesystem::path& folder) : folder_(folder) {
    const auto existing = existingDatabaseFiles(folder);
    if (!existing.empty()) {
        throw Error("The data folder " + folder.string() + " already holds " +
                    existing.front().filename().string());
    }
    std::filesystem::create_directories(folder);
    for (const DatabaseSchema& database : hotelSchema()) {
        auto file = std::make_unique<OpenFile>(database, folder);
        for (const TableSchema& table : database.tables) {
            file->writer.createTable(table.name, table.columns);
        }
        file->writer.begin();
        for (const TableSchema& table : database.tables) {
            std::vector<std::string> names;
            for (const ColumnDecl& column : table.columns) {
                names.push_back(column.name);
            }
            file->tables.push_back(OpenTable{&table, file->writer.inserter(table.name, names),
                                             std::vector<db::Value>(names.size())});
        }
        files_.push_back(std::move(file));
    }
}

HotelData::~HotelData() {
    try {
        finish();
    } catch (const Error&) {
        // Reported only through finish().
    }
}

HotelData::OpenTable& HotelData::table(std::string_view file, std::string_view tableName) {
    for (const TableLookup& known : lookups_) {
        if (known.file == file && known.table == tableName) {
            return *known.open;
        }
    }
    OpenTable& found = findTable(file, tableName);
    lookups_.push_back({std::string(file), std::string(tableName), &found});
    return found;
}

HotelData::OpenTable& HotelData::findTable(std::string_view file, std::string_view tableName) {
    const DatabaseSchema& database = schemaOf(file);
    for (auto& open : files_) {
        if (open->schema != &database) {
            continue;
        }
        for (OpenTable& table : open->tables) {
            if (equalNoCase(table.schema->name, tableName)) {
                return table;
            }
        }
    }
    if (files_.empty()) {
        throw Error("The data folder " + folder_.string() + " is already finished");
    }
    throw Error("No table " + std::string(tableName) + " in " + database.file);
}

void HotelData::insert(std::string_view file, std::string_view tableName, const Fields& fields) {
    OpenTable& table = this->table(file, tableName);
    std::ranges::fill(table.row, db::Value());
    for (const auto& [name, cell] : fields) {
        const auto& columns = table.schema->columns;
        const auto column = std::ranges::find_if(
            columns, [&](const ColumnDecl& c) { return equalNoCase(c.name, name); });
        if (column == columns.end()) {
            throw Error("No field " + name + " in table " + table.schema->name);
        }
        table.row[static_cast<std::size_t>(column - columns.begin())] = cell.value;
    }
    table.insert.add(table.row);
}

void HotelData::finish() {
    auto files = std::move(files_);
    files_.clear();
    lookups_.clear();
    for (auto& file : files) {
        file->tables.clear();  // statements go before the commit
        file->writer.commit();
    }
}

}  // namespace planora::demo
