#include "tools/mdb/jet_types.h"

namespace planora::jet {

const char* typeName(ColumnType type) {
    switch (type) {
        case ColumnType::YesNo:
            return "Sì/No";
        case ColumnType::Byte:
            return "Byte";
        case ColumnType::Integer:
            return "Intero";
        case ColumnType::LongInteger:
            return "Intero lungo";
        case ColumnType::Currency:
            return "Valuta";
        case ColumnType::Double:
            return "Precisione doppia";
        case ColumnType::DateTime:
            return "Data/ora";
        case ColumnType::Binary:
            return "Binario";
        case ColumnType::Text:
            return "Testo";
        case ColumnType::OleObject:
            return "Oggetto OLE";
        case ColumnType::Memo:
            return "Memo";
    }
    return "?";
}

bool isLongValue(ColumnType type) {
    return type == ColumnType::Memo || type == ColumnType::OleObject;
}

bool isFixedSize(ColumnType type) {
    return type != ColumnType::Text && type != ColumnType::Binary && !isLongValue(type);
}

}  // namespace planora::jet
