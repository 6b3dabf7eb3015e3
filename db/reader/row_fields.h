#pragma once

// mdbtools.h includes glib.h inside extern "C", which C++ rejects: glib.h must come first.
#include <glib.h>
#include <mdbtools.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace planora::db::access {

class RowSplitter;

// The fields of the row split last: each column's field as libmdb's mdb_crack_row gives it,
// worked out when first asked for, so that a row turned away on two columns costs two fields.
class RowFields {
  public:
    explicit RowFields(std::size_t columns) : fields_(columns), doneIn_(columns, 0) {}

    const MdbField& field(std::size_t column) const;

  private:
    friend class RowSplitter;

    const RowSplitter* splitter_ = nullptr;
    int start_ = 0;
    unsigned mask_ = 0;  // where the null mask starts on the page
    unsigned rowVarColumns_ = 0;
    unsigned rowFixedColumns_ = 0;
    std::vector<unsigned> varOffsets_;
    mutable std::vector<MdbField> fields_;
    mutable std::vector<std::uint32_t> doneIn_;  // the row in which each field was worked out
    std::uint32_t row_ = 0;
};

// Splits the rows of one table into their fields with the same result as libmdb's
// mdb_crack_row, the same rows refused among them, without its allocation and option lookup on
// every row, and with the fields worked out only when read. Jet 4 rows are split here; Jet 3
// rows (with their jump tables), rows whose null mask would be read past the page and tables
// with column sizes or offsets out of range are split by libmdb.
class RowSplitter {
  public:
    explicit RowSplitter(MdbTableDef* table);

    // Splits the row at [start, start + size) of the handle's page buffer; false when the row
    // is not a valid one.
    bool split(int start, std::size_t size, RowFields& row) const;

  private:
    friend class RowFields;

    struct Column {
        bool fixed;
        unsigned nullByte;
        unsigned char nullBit;
        int fixedOffset;
        int size;
        unsigned fixedRank;  // among the fixed columns, in table order
        unsigned varColumn;
    };

    bool splitJet4(int start, std::size_t size, RowFields& row) const;
    bool splitWithLibmdb(int start, std::size_t size, RowFields& row) const;
    void fill(std::size_t column, const RowFields& row, MdbField& f) const;

    MdbTableDef* table_;
    const unsigned char* page_;
    unsigned pageSize_;
    bool here_;  // false: every row goes to libmdb
    std::vector<Column> columns_;
    unsigned lastNullByte_ = 0;
    std::vector<int> fixedEnds_;        // by count k: the furthest end of the first k fixed columns
    std::vector<unsigned> varColumns_;  // the variable columns' places, each once
};

}  // namespace planora::db::access
