#pragma once

#include <cstdint>
#include <string>

namespace planora::jet {

// The column types the writer knows, by their code in the table definition.
enum class ColumnType : std::uint8_t {
    YesNo = 0x01,  // kept in the row's null mask: never Null
    Byte = 0x02,
    Integer = 0x03,      // 16 bits
    LongInteger = 0x04,  // 32 bits
    Currency = 0x05,     // 64 bits, ten-thousandths
    Double = 0x07,
    DateTime = 0x08,  // days since 30/12/1899 as a double
    Binary = 0x09,    // up to 255 bytes
    Text = 0x0A,      // up to 255 characters
    OleObject = 0x0B,
    Memo = 0x0C,
};

struct Column {
    std::string name;
    ColumnType type = ColumnType::Text;
    int textLength = 255;  // characters of a Text column, bytes of a Binary one (1 to 255)
};

// The longest text a Memo column takes: what Access lets a user type, and what libmdb hands
// over whole.
inline constexpr std::size_t kMostMemoCharacters = 65535;
inline constexpr int kMostTextCharacters = 255;
inline constexpr std::size_t kMostColumns = 255;

// As Access calls the type in Italian ("Testo", "Intero lungo").
const char* typeName(ColumnType type);

bool isLongValue(ColumnType type);  // Memo and OLE Object: stored outside the row
bool isFixedSize(ColumnType type);

}  // namespace planora::jet
