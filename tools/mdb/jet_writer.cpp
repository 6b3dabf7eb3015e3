#include "tools/mdb/jet_writer.h"

#include <algorithm>

#include "db/error.h"
#include "messages/mdb_messages.h"
#include "tools/mdb/jet_catalog.h"
#include "tools/mdb/jet_format.h"
#include "tools/mdb/jet_header.h"
#include "tools/mdb/jet_text.h"
#include "tools/mdb/jet_values.h"

namespace planora::jet {

namespace {

constexpr std::size_t kMostNameCharacters = 64;

// Why Access would not take the name, or empty when it would.
std::string nameProblem(const std::string& name) {
    std::u16string units;
    try {
        units = utf16Of(name);
    } catch (const ValueRejected& rejected) {
        return rejected.what();
    }
    if (units.empty()) {
        return msg::mdbNameEmpty();
    }
    if (units.size() > kMostNameCharacters) {
        return msg::mdbNameTooLong(units.size());
    }
    if (units.front() == u' ') {
        return msg::mdbNameStartsWithSpace();
    }
    for (const char c : name) {
        if (c == '.' || c == '!' || c == '`' || c == '[' || c == ']' ||
            static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return msg::mdbNameForbiddenCharacter(std::string(1, c));
        }
    }
    return {};
}

void checkName(const char* what, const std::string& name) {
    if (const std::string problem = nameProblem(name); !problem.empty()) {
        throw Error(msg::mdbBadName(what, name, problem));
    }
}

void checkColumns(const std::filesystem::path& file, const std::string& table,
                  const std::vector<Column>& columns) {
    if (columns.empty() || columns.size() > kMostColumns) {
        throw Error(msg::mdbColumnCount(file, table, columns.size()));
    }
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const Column& column = columns[i];
        checkName("campo", column.name);
        const bool sized = column.type == ColumnType::Text || column.type == ColumnType::Binary;
        if (sized && (column.textLength < 1 || column.textLength > kMostTextCharacters)) {
            throw Error(msg::mdbBadTextLength(table, column.name, column.textLength));
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (db::foldCase(columns[j].name) == db::foldCase(column.name)) {
                throw Error(msg::mdbDuplicateColumn(table, column.name));
            }
        }
    }
}

}  // namespace

TableWriter::TableWriter(PageFile& file, std::string name, const std::vector<Column>& columns,
                         std::uint32_t definitionPage, bool system)
    : file_(file),
      name_(std::move(name)),
      layout_(layoutOf(columns)),
      definitionPage_(definitionPage),
      system_(system),
      data_(file, ownerOf(definitionPage)) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (isLongValue(columns[i].type)) {
            longValues_.emplace(i, file);
        }
    }
}

void TableWriter::addRow(std::span<const db::Value> row) {
    const std::uint64_t number = rows_ + 1;
    if (row.size() != layout_.columns.size()) {
        throw Error(
            msg::mdbRowWidth(file_.target(), name_, number, row.size(), layout_.columns.size()));
    }
    std::string bytes;
    try {
        bytes = encodeRow(layout_, row, [this](std::size_t column, std::string_view stored) {
            return longValues_.at(column).field(stored);
        });
    } catch (const FieldRejected& rejected) {
        const Column& column = layout_.columns[rejected.column].column;
        throw Error(msg::mdbBadValue(file_.target(), name_, column.name, number,
                                     shownValue(row[rejected.column]), typeName(column.type),
                                     rejected.reason));
    }
    if (bytes.size() > kMostRowBytes) {
        throw Error(
            msg::mdbRowTooLarge(file_.target(), name_, number, bytes.size(), kMostRowBytes));
    }
    data_.add(bytes);
    ++rows_;
}

void TableWriter::finish(RowPageStream& maps) {
    data_.flush();
    TableDefinition definition;
    definition.layout = &layout_;
    definition.system = system_;
    definition.rows = static_cast<std::uint32_t>(rows_);
    const std::string noPages = usageMap(file_, {});
    definition.usedPages = maps.add(usageMap(file_, data_.pages()));
    definition.freePages = maps.add(noPages);
    for (auto& [column, store] : longValues_) {
        store.flush();
        definition.longValueMaps.push_back({layout_.columns[column].number,
                                            maps.add(usageMap(file_, store.pages())),
                                            maps.add(noPages)});
    }
    file_.write(definitionPage_, definitionPages(definition, definitionPage_));
}

DatabaseWriter::DatabaseWriter(const std::filesystem::path& file, const db::DateTime& created)
    : file_(file), created_(created), maps_(file_, ownerOf(0)) {
    file_.allocate(kCatalogDefinitionPage + 1);  // the header, the free pages, the catalog
    catalog_.reset(
        new TableWriter(file_, "MSysObjects", catalogColumns(), kCatalogDefinitionPage, true));
}

DatabaseWriter::~DatabaseWriter() = default;

TableWriter& DatabaseWriter::addTable(const std::string& name, const std::vector<Column>& columns) {
    checkName("tabella", name);
    if (db::foldCase(name.substr(0, 4)) == db::foldCase("MSys")) {
        throw Error(msg::mdbBadName("tabella", name, msg::mdbNameReserved()));
    }
    for (const auto& table : tables_) {
        if (db::foldCase(table->name()) == db::foldCase(name)) {
            throw Error(msg::mdbDuplicateTable(file_.target(), name));
        }
    }
    checkColumns(file_.target(), name, columns);
    const std::uint32_t definitionPage = file_.allocate(definitionPageCount(layoutOf(columns)));
    tables_.push_back(
        std::unique_ptr<TableWriter>(new TableWriter(file_, name, columns, definitionPage, false)));
    return *tables_.back();
}

std::vector<CatalogTable> DatabaseWriter::catalogTables() const {
    std::vector<CatalogTable> tables = {{catalog_->name(), kCatalogDefinitionPage, true}};
    for (const auto& table : tables_) {
        tables.push_back({table->name(), table->definitionPage_, false});
    }
    return tables;
}

void DatabaseWriter::finish() {
    for (const auto& table : tables_) {
        table->finish(maps_);
    }
    for (const auto& row : catalogRows(catalogTables(), created_)) {
        catalog_->addRow(row);
    }
    catalog_->finish(maps_);
    maps_.flush();
    // Page 1 maps the pages that are free for reuse: none.
    RowPage freePages(ownerOf(kFreePagesMapPage));
    freePages.add(usageMap(file_, {}));
    file_.write(kFreePagesMapPage, freePages.bytes());
    file_.write(kHeaderPage, headerPage(accessDays(created_)));
    file_.commit();
}

}  // namespace planora::jet
