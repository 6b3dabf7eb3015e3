#include "tools/mdb/jet_catalog.h"

namespace planora::jet {

namespace {

// Object types and the ids of the containers.
constexpr std::int64_t kTableObject = 1;
constexpr std::int64_t kDatabaseObject = 2;
constexpr std::int64_t kContainerObject = 3;
constexpr std::int64_t kRootId = 0x0F000000;
constexpr std::int64_t kTablesId = 0x0F000001;
constexpr std::int64_t kDatabasesId = 0x0F000002;
constexpr std::int64_t kRelationshipsId = 0x0F000003;
constexpr std::int64_t kDatabaseId = 0x10000000;
// The flag of system objects (0x80000000 as a signed long integer).
constexpr std::int64_t kSystemFlag = -2147483647 - 1;

std::vector<db::Value> object(std::int64_t id, std::int64_t parent, const std::string& name,
                              std::int64_t type, std::int64_t flags, const db::DateTime& created) {
    std::vector<db::Value> row(catalogColumns().size());
    row[0] = db::Value::integer(id);
    row[1] = db::Value::integer(parent);
    row[2] = db::Value::text(name);
    row[3] = db::Value::integer(type);
    row[4] = db::Value::dateTime(created);
    row[5] = db::Value::dateTime(created);
    row[7] = db::Value::integer(flags);
    return row;
}

}  // namespace

std::vector<Column> catalogColumns() {
    return {{"Id", ColumnType::LongInteger},
            {"ParentId", ColumnType::LongInteger},
            {"Name", ColumnType::Text},
            {"Type", ColumnType::Integer},
            {"DateCreate", ColumnType::DateTime},
            {"DateUpdate", ColumnType::DateTime},
            {"Owner", ColumnType::Binary},
            {"Flags", ColumnType::LongInteger},
            {"Database", ColumnType::Memo},
            {"Connect", ColumnType::Memo},
            {"ForeignName", ColumnType::Text},
            {"RmtInfoShort", ColumnType::Binary},
            {"RmtInfoLong", ColumnType::OleObject},
            {"Lv", ColumnType::OleObject},
            {"LvProp", ColumnType::OleObject},
            {"LvModule", ColumnType::OleObject},
            {"LvExtra", ColumnType::OleObject}};
}

std::vector<std::vector<db::Value>> catalogRows(const std::vector<CatalogTable>& tables,
                                                const db::DateTime& created) {
    std::vector<std::vector<db::Value>> rows = {
        object(kTablesId, kRootId, "Tables", kContainerObject, kSystemFlag, created),
        object(kDatabasesId, kRootId, "Databases", kContainerObject, kSystemFlag, created),
        object(kRelationshipsId, kRootId, "Relationships", kContainerObject, kSystemFlag, created),
        object(kDatabaseId, kDatabasesId, "MSysDb", kDatabaseObject, kSystemFlag, created)};
    for (const CatalogTable& table : tables) {
        rows.push_back(object(table.definitionPage, kTablesId, table.name, kTableObject,
                              table.system ? kSystemFlag : 0, created));
    }
    return rows;
}

}  // namespace planora::jet
