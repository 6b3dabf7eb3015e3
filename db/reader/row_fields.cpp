#include "db/reader/row_fields.h"

#include <algorithm>

namespace planora::db::access {

namespace {

unsigned int16At(const unsigned char* page, unsigned offset) {
    return page[offset] | (static_cast<unsigned>(page[offset + 1]) << 8);
}

}  // namespace

const MdbField& RowFields::field(std::size_t column) const {
    if (doneIn_[column] != row_) {
        splitter_->fill(column, *this, fields_[column]);
        doneIn_[column] = row_;
    }
    return fields_[column];
}

RowSplitter::RowSplitter(MdbTableDef* table)
    : table_(table),
      page_(table->entry->mdb->pg_buf),
      pageSize_(static_cast<unsigned>(table->entry->mdb->fmt->pg_size)),
      here_(IS_JET4(table->entry->mdb)) {
    unsigned fixedColumns = 0;
    fixedEnds_.push_back(0);
    for (unsigned i = 0; i < table->num_cols; ++i) {
        const auto* col = static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, i));
        const auto colNum = static_cast<unsigned>(col->col_num);
        const bool fixed = col->is_fixed != 0;
        columns_.push_back({fixed, colNum / 8, static_cast<unsigned char>(1u << (colNum % 8)),
                            col->fixed_offset, col->col_size, fixedColumns, col->var_col_num});
        lastNullByte_ = std::max(lastNullByte_, colNum / 8);
        if (fixed) {
            here_ = here_ && col->fixed_offset >= 0 && col->col_size >= 0;
            fixedEnds_.push_back(
                std::max(fixedEnds_.back(), col->fixed_offset + 2 + col->col_size));
            ++fixedColumns;
        } else {
            varColumns_.push_back(col->var_col_num);
        }
    }
    std::sort(varColumns_.begin(), varColumns_.end());
    varColumns_.erase(std::unique(varColumns_.begin(), varColumns_.end()), varColumns_.end());
}

bool RowSplitter::split(int start, std::size_t size, RowFields& row) const {
    row.splitter_ = this;
    if (++row.row_ == 0) {  // the count went round: no field may look worked out
        std::fill(row.doneIn_.begin(), row.doneIn_.end(), 0);
        row.row_ = 1;
    }
    return here_ ? splitJet4(start, size, row) : splitWithLibmdb(start, size, row);
}

bool RowSplitter::splitWithLibmdb(int start, std::size_t size, RowFields& row) const {
    if (mdb_crack_row(table_, start, size, row.fields_.data()) < 0) {
        return false;
    }
    // libmdb gives column i its field at i
    std::fill(row.doneIn_.begin(), row.doneIn_.end(), row.row_);
    return true;
}

// A Jet 4 row: the count of its columns first, then the fixed-size values; at its end the null
// mask (a set bit is a value), before it the count of variable-size values and before that
// their offsets, last first. The checks are libmdb's, on every column of the row, so that the
// same rows are refused.
bool RowSplitter::splitJet4(int start, std::size_t size, RowFields& row) const {
    const auto first = static_cast<unsigned>(start);
    const auto rowEnd = static_cast<unsigned>(start + static_cast<long>(size) - 1);
    const unsigned rowColumns = int16At(page_, first);
    const unsigned maskBytes = (rowColumns + 7) / 8;
    if (maskBytes + 1 >= rowEnd) {
        return false;
    }
    row.mask_ = rowEnd - maskBytes + 1;
    if (row.mask_ + lastNullByte_ >= pageSize_) {
        return splitWithLibmdb(start, size, row);  // a mask byte past the page
    }
    row.start_ = start;
    row.rowVarColumns_ = 0;
    if (table_->num_var_cols > 0) {
        row.rowVarColumns_ = int16At(page_, rowEnd - maskBytes - 1);
        if (maskBytes + 3 + row.rowVarColumns_ * 2 + 2 > rowEnd) {
            return false;
        }
        row.varOffsets_.resize(row.rowVarColumns_ + 1);
        for (unsigned i = 0; i <= row.rowVarColumns_; ++i) {
            row.varOffsets_[i] = int16At(page_, rowEnd - maskBytes - 3 - i * 2);
        }
    }
    row.rowFixedColumns_ = rowColumns - row.rowVarColumns_;
    const std::size_t fixedWithData =
        std::min<std::size_t>(row.rowFixedColumns_, fixedEnds_.size() - 1);
    if (static_cast<std::size_t>(fixedEnds_[fixedWithData]) > size) {
        return false;  // a fixed value past the row's end
    }
    for (const unsigned v : varColumns_) {
        if (v >= row.rowVarColumns_) {
            break;
        }
        if (row.varOffsets_[v + 1] > size) {
            return false;  // a variable value that ends past the row's end
        }
    }
    return true;
}

void RowSplitter::fill(std::size_t column, const RowFields& row, MdbField& f) const {
    const Column& c = columns_[column];
    f.colnum = static_cast<int>(column);
    f.is_fixed = c.fixed ? 1 : 0;
    f.is_null = (page_[row.mask_ + c.nullByte] & c.nullBit) ? 0 : 1;
    f.offset = 0;
    if (c.fixed && c.fixedRank < row.rowFixedColumns_) {
        f.start = row.start_ + c.fixedOffset + 2;
        f.siz = c.size;
    } else if (!c.fixed && c.varColumn < row.rowVarColumns_) {
        const unsigned columnStart = row.varOffsets_[c.varColumn];
        f.start = static_cast<int>(static_cast<unsigned>(row.start_) + columnStart);
        f.siz = static_cast<int>(row.varOffsets_[c.varColumn + 1] - columnStart);
    } else {
        f.start = 0;
        f.siz = 0;
        f.is_null = 1;
    }
    f.value = f.start == 0 && f.siz == 0 ? nullptr : const_cast<unsigned char*>(page_) + f.start;
}

}  // namespace planora::db::access
