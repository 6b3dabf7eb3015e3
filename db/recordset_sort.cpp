#include <algorithm>
#include <cctype>

#include "db/error.h"
#include "db/recordset_internal.h"
#include "messages/db_messages.h"

namespace planora::db {

namespace {

bool isBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// Splits on the commas outside brackets.
std::vector<std::string_view> splitItems(std::string_view text) {
    std::vector<std::string_view> items;
    bool inBracket = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '[' || text[i] == ']') {
            inBracket = text[i] == '[';
        } else if (text[i] == ',' && !inBracket) {
            items.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    items.push_back(text.substr(start));
    return items;
}

sql::OrderKey parseItem(std::string_view item, std::string_view whole) {
    auto fail = [&]() { return Error(msg::badSortText(whole)); };
    item = trim(item);
    sql::OrderKey key;
    const std::size_t lastBlank = item.find_last_of(" \t");
    if (lastBlank != std::string_view::npos && item.find(']', lastBlank) == std::string::npos) {
        const std::string direction = foldCase(item.substr(lastBlank + 1));
        if (direction == "desc" || direction == "asc") {
            key.descending = direction == "desc";
            item = trim(item.substr(0, lastBlank));
        }
    }
    if (!item.empty() && item.front() == '[') {
        if (item.size() < 3 || item.back() != ']') {
            throw fail();
        }
        item = item.substr(1, item.size() - 2);
    }
    if (item.empty() || item.find_first_of("[]") != std::string_view::npos) {
        throw fail();
    }
    key.column = std::string(item);
    return key;
}

int kindRank(const Value& v) {
    switch (v.kind()) {
        case Value::Kind::Null:
            return 0;
        case Value::Kind::Integer:
        case Value::Kind::Real:
        case Value::Kind::Currency:
        case Value::Kind::Boolean:
            return 1;
        case Value::Kind::DateTime:
            return 2;
        case Value::Kind::Text:
            return 3;
    }
    return 4;
}

// A total order for sorting: the Access comparison where it answers, Null first, and values of
// unrelated kinds grouped by kind.
int sortCompare(const Value& a, const Value& b) {
    if (!a.isNull() && !b.isNull()) {
        if (const auto c = compareValues(a, b)) {
            return *c;
        }
    }
    return kindRank(a) - kindRank(b);
}

}  // namespace

std::vector<sql::OrderKey> parseSortText(std::string_view text) {
    std::vector<sql::OrderKey> keys;
    if (trim(text).empty()) {
        return keys;
    }
    for (std::string_view item : splitItems(text)) {
        keys.push_back(parseItem(item, text));
    }
    return keys;
}

std::vector<std::size_t> sortColumns(const Table& table, const std::vector<sql::OrderKey>& keys,
                                     const std::filesystem::path& file) {
    std::vector<std::size_t> columns;
    for (const sql::OrderKey& key : keys) {
        const auto column = table.columnIndex(key.column);
        if (!column) {
            throw Error(msg::fieldNotFound(key.column, table.name(), file));
        }
        columns.push_back(*column);
    }
    return columns;
}

void sortRows(const Table& table, std::vector<std::uint32_t>& rows,
              const std::vector<sql::OrderKey>& keys, const std::filesystem::path& file) {
    if (keys.empty()) {
        return;
    }
    // The key values are read once per row; the sort then orders positions into them.
    const std::vector<std::size_t> columns = sortColumns(table, keys, file);
    table.loadColumns(columns);
    std::vector<std::vector<Value>> values(keys.size());
    for (std::size_t k = 0; k < keys.size(); ++k) {
        values[k].reserve(rows.size());
        for (std::uint32_t row : rows) {
            values[k].push_back(table.value(row, columns[k]));
        }
    }
    std::vector<std::uint32_t> order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = static_cast<std::uint32_t>(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        for (std::size_t k = 0; k < keys.size(); ++k) {
            const int c = sortCompare(values[k][a], values[k][b]);
            if (c != 0) {
                return keys[k].descending ? c > 0 : c < 0;
            }
        }
        return false;
    });
    std::vector<std::uint32_t> sorted;
    sorted.reserve(rows.size());
    for (std::uint32_t i : order) {
        sorted.push_back(rows[i]);
    }
    rows = std::move(sorted);
}

}  // namespace planora::db
