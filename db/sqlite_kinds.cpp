#include <algorithm>

#include "db/quote.h"
#include "db/sqlite_table.h"

namespace planora::db::sqlite {

namespace {

using Kind = Value::Kind;

constexpr unsigned kNumbers = Table::kindBit(Kind::Integer) | Table::kindBit(Kind::Real) |
                              Table::kindBit(Kind::Currency) | Table::kindBit(Kind::Boolean);
constexpr unsigned kTextsAndDates = Table::kindBit(Kind::Text) | Table::kindBit(Kind::DateTime);

std::size_t indexOf(Stored kind) {
    return kind == Stored::Numbers ? 0 : 1;
}

// The stored kinds whose values read as one of these kinds.
std::vector<Stored> storedFor(unsigned kinds) {
    std::vector<Stored> stored;
    if ((kinds & kNumbers) != 0) {
        stored.push_back(Stored::Numbers);
    }
    if ((kinds & kTextsAndDates) != 0) {
        stored.push_back(Stored::Texts);
    }
    return stored;
}

// The kind a column of this affinity holds in the normal case, which a query finds at once;
// none when the column has no type to tell.
std::optional<Stored> expected(Affinity affinity) {
    switch (affinity) {
        case Affinity::Text:
            return Stored::Texts;
        case Affinity::Blob:
            return std::nullopt;
        default:
            return Stored::Numbers;
    }
}

}  // namespace

ColumnKinds::ColumnKinds(std::shared_ptr<Connection> connection,
                         std::shared_ptr<const TableShape> shape)
    : connection_(std::move(connection)), shape_(std::move(shape)), facts_(shape_->columns.size()) {
    for (std::size_t c = 0; c < facts_.size(); ++c) {
        // SQLite turns every number written to a column of text affinity into text.
        if (shape_->columns[c].affinity == Affinity::Text) {
            facts_[c].stored[indexOf(Stored::Numbers)] = Known::Absent;
        }
    }
}

std::string ColumnKinds::holding(std::size_t column, Stored kind) const {
    // SQLite orders numbers before texts and texts before blobs; the empty text, compared
    // byte by byte, is the least text.
    return shape_->quotedColumn(column) +
           (kind == Stored::Numbers ? " < '' COLLATE BINARY" : " >= '' COLLATE BINARY");
}

ColumnKinds::Known& ColumnKinds::fact(std::size_t column, Stored kind) {
    return facts_[column].stored[indexOf(kind)];
}

std::vector<std::pair<std::size_t, Stored>> ColumnKinds::worthLearning(
    std::span<const KindQuestion> questions) const {
    std::vector<std::pair<std::size_t, Stored>> terms;
    for (const KindQuestion& question : questions) {
        const auto normal = expected(shape_->columns[question.column].affinity);
        for (Stored kind : storedFor(question.kinds)) {
            const std::pair<std::size_t, Stored> term{question.column, kind};
            if (facts_[question.column].stored[indexOf(kind)] == Known::Unknown && normal &&
                *normal != kind && std::find(terms.begin(), terms.end(), term) == terms.end()) {
                terms.push_back(term);
            }
        }
    }
    return terms;
}

void ColumnKinds::learnt(std::size_t column, Stored kind, bool seen) {
    fact(column, kind) = seen ? Known::Present : Known::Absent;
}

void ColumnKinds::saw(std::size_t column, Stored kind) {
    fact(column, kind) = Known::Present;
}

bool ColumnKinds::holdsStored(std::size_t column, Stored kind) {
    Known& known = fact(column, kind);
    if (known == Known::Unknown) {
        const StatementHandle statement =
            connection_->prepare("SELECT 1 FROM " + quoteIdentifier(shape_->name) + " WHERE " +
                                     holding(column, kind) + " LIMIT 1",
                                 shape_->name);
        known = connection_->step(statement.get(), shape_->name) ? Known::Present : Known::Absent;
    }
    return known == Known::Present;
}

unsigned ColumnKinds::textKindsOfDateColumn(std::size_t column) {
    auto& kinds = facts_[column].textKinds;
    if (!kinds) {
        const StatementHandle statement = connection_->prepare(
            "SELECT " + shape_->quotedColumn(column) + " FROM " + quoteIdentifier(shape_->name) +
                " WHERE " + holding(column, Stored::Texts),
            shape_->name);
        Windows1252Decoder decoder;
        unsigned seen = 0;
        while (connection_->step(statement.get(), shape_->name)) {
            seen |=
                Table::kindBit(cellOf(statement.get(), 0, ColumnType::DateTime, decoder).kind());
        }
        kinds = seen;
        fact(column, Stored::Texts) = seen != 0 ? Known::Present : Known::Absent;
    }
    return *kinds;
}

bool ColumnKinds::holds(std::size_t column, unsigned kinds) {
    bool held = (kinds & kNumbers) != 0 && holdsStored(column, Stored::Numbers);
    if (held || (kinds & kTextsAndDates) == 0) {
        return held;
    }
    if (shape_->columns[column].info.type == ColumnType::DateTime) {
        return holdsStored(column, Stored::Texts) && (textKindsOfDateColumn(column) & kinds) != 0;
    }
    return (kinds & Table::kindBit(Kind::Text)) != 0 && holdsStored(column, Stored::Texts);
}

Value ColumnKinds::firstOf(std::size_t column, unsigned kinds) {
    std::string condition;
    for (Stored kind : storedFor(kinds)) {
        condition += (condition.empty() ? "" : " OR ") + holding(column, kind);
    }
    if (condition.empty() || !shape_->rowid) {
        return Value();
    }
    const StatementHandle statement = connection_->prepare(
        "SELECT " + shape_->quotedColumn(column) + " FROM " + quoteIdentifier(shape_->name) +
            " WHERE " + condition + " ORDER BY " + *shape_->rowid,
        shape_->name);
    Windows1252Decoder decoder;
    const ColumnType type = shape_->columns[column].info.type;
    while (connection_->step(statement.get(), shape_->name)) {
        Value v = cellOf(statement.get(), 0, type, decoder);
        if ((Table::kindBit(v.kind()) & kinds) != 0) {
            return v;
        }
    }
    return Value();
}

}  // namespace planora::db::sqlite
