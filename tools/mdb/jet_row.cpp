#include "tools/mdb/jet_row.h"

#include "tools/mdb/jet_format.h"
#include "tools/mdb/jet_values.h"

namespace planora::jet {

namespace {

std::uint16_t fixedLength(ColumnType type) {
    switch (type) {
        case ColumnType::Byte:
            return 1;
        case ColumnType::Integer:
            return 2;
        case ColumnType::LongInteger:
            return 4;
        case ColumnType::Currency:
        case ColumnType::Double:
        case ColumnType::DateTime:
            return 8;
        default:  // Yes/No lives in the null mask
            return 0;
    }
}

std::uint16_t definedLength(const Column& column) {
    switch (column.type) {
        case ColumnType::Text:
            return static_cast<std::uint16_t>(2 * column.textLength);
        case ColumnType::Binary:
            return static_cast<std::uint16_t>(column.textLength);
        case ColumnType::Memo:
        case ColumnType::OleObject:
            return 0;
        default:
            return fixedLength(column.type);
    }
}

void setBit(std::string& mask, std::size_t bit) {
    mask[bit / 8] = static_cast<char>(mask[bit / 8] | (1 << (bit % 8)));
}

}  // namespace

TableLayout layoutOf(const std::vector<Column>& columns) {
    TableLayout layout;
    for (const Column& column : columns) {
        ColumnLayout place;
        place.column = column;
        place.number = static_cast<std::uint16_t>(layout.columns.size());
        place.fixed = isFixedSize(column.type);
        place.length = definedLength(column);
        if (place.fixed) {
            place.fixedOffset = static_cast<std::uint16_t>(layout.fixedBytes);
            layout.fixedBytes += place.length;
        } else {
            place.variableIndex = static_cast<std::uint16_t>(layout.variableCount++);
        }
        layout.longValueCount += isLongValue(column.type) ? 1 : 0;
        layout.columns.push_back(place);
    }
    return layout;
}

std::string encodeRow(const TableLayout& layout, std::span<const db::Value> row,
                      const LongValueSink& longValue) {
    const std::size_t columns = layout.columns.size();
    std::string fixedPart(2 + layout.fixedBytes, '\0');
    putLittleEndian(fixedPart, 0, columns, 2);
    std::string variablePart;
    std::vector<std::size_t> offsets;
    std::string nullMask((columns + 7) / 8, '\0');
    for (std::size_t i = 0; i < columns; ++i) {
        const ColumnLayout& place = layout.columns[i];
        const db::Value& value = row[i];
        try {
            if (place.column.type == ColumnType::YesNo) {
                if (yesNoValue(value)) {
                    setBit(nullMask, place.number);
                }
                continue;
            }
            if (!place.fixed) {
                offsets.push_back(fixedPart.size() + variablePart.size());
            }
            if (value.isNull()) {
                continue;
            }
            setBit(nullMask, place.number);
            if (place.fixed) {
                fixedPart.replace(2 + place.fixedOffset, place.length,
                                  fixedValueBytes(place.column.type, value));
            } else if (isLongValue(place.column.type)) {
                variablePart += longValue(i, variableValueBytes(place.column, value));
            } else {
                variablePart += variableValueBytes(place.column, value);
            }
        } catch (const ValueRejected& rejected) {
            throw FieldRejected{i, rejected.what()};
        }
    }
    std::string bytes = fixedPart + variablePart;
    if (layout.variableCount > 0) {
        appendLittleEndian(bytes, bytes.size(), 2);  // the end of the data
        for (auto offset = offsets.rbegin(); offset != offsets.rend(); ++offset) {
            appendLittleEndian(bytes, *offset, 2);
        }
        appendLittleEndian(bytes, layout.variableCount, 2);
    }
    return bytes + nullMask;
}

}  // namespace planora::jet
