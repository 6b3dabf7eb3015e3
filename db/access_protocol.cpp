#include "db/access_protocol.h"

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>

#include "messages/db_messages.h"

namespace planora::db::access {

namespace {

constexpr std::size_t flushThreshold = 64 * 1024;
constexpr std::int64_t flushInterval = 100;  // milliseconds
// A damaged file may announce any row count; reserving is only a hint.
constexpr std::uint64_t maxReservedRows = 100'000;
constexpr std::uint8_t lastColumnType = static_cast<std::uint8_t>(ColumnType::Binary);

}  // namespace

// The coarse clock is read for each row: it costs a fifth of the precise one, and its few
// milliseconds of resolution are nothing against the flush interval.
std::int64_t StreamWriter::coarseMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

namespace {

void putUnsigned(std::string& out, std::uint64_t v, int bytes) {
    char little[8];
    for (int i = 0; i < bytes; ++i) {
        little[i] = static_cast<char>((v >> (8 * i)) & 0xff);
    }
    out.append(little, static_cast<std::size_t>(bytes));
}

void putString(std::string& out, std::string_view s) {
    putUnsigned(out, s.size(), 4);
    out.append(s);
}

void putColumns(std::string& payload, const std::vector<ColumnInfo>& columns) {
    putUnsigned(payload, columns.size(), 4);
    for (const auto& column : columns) {
        putString(payload, column.name);
        payload.push_back(static_cast<char>(column.type));
    }
}

void putValue(std::string& out, const Value& v) {
    out.push_back(static_cast<char>(v.kind()));
    switch (v.kind()) {
        case Value::Kind::Null:
            break;
        case Value::Kind::Integer:
            putUnsigned(out, static_cast<std::uint64_t>(v.asInteger()), 8);
            break;
        case Value::Kind::Real:
            putUnsigned(out, std::bit_cast<std::uint64_t>(v.asReal()), 8);
            break;
        case Value::Kind::Currency:
            putUnsigned(out, static_cast<std::uint64_t>(v.asCurrency().scaled), 8);
            break;
        case Value::Kind::Text:
            putString(out, v.asText());
            break;
        case Value::Kind::DateTime: {
            const DateTime d = v.asDateTime();
            const auto year = static_cast<std::uint16_t>(d.year);
            const char parts[7]{static_cast<char>(year & 0xff), static_cast<char>(year >> 8),
                                static_cast<char>(d.month),     static_cast<char>(d.day),
                                static_cast<char>(d.hour),      static_cast<char>(d.minute),
                                static_cast<char>(d.second)};
            out.append(parts, sizeof parts);
            break;
        }
        case Value::Kind::Boolean:
            out.push_back(v.asBoolean() ? 1 : 0);
            break;
    }
}

// Reads one payload, every read checked against its end.
class Cursor {
  public:
    explicit Cursor(std::string_view data) : data_(data) {}

    std::uint64_t unsignedOf(int bytes) {
        need(bytes);
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) {
            v |= std::uint64_t{static_cast<unsigned char>(data_[pos_ + i])} << (8 * i);
        }
        pos_ += bytes;
        return v;
    }
    std::int64_t int64() { return static_cast<std::int64_t>(unsignedOf(8)); }
    std::uint8_t peekByte() {
        need(1);
        return static_cast<std::uint8_t>(data_[pos_]);
    }
    std::string string() { return std::string(stringView()); }
    // Valid as long as the payload.
    std::string_view stringView() {
        const auto size = unsignedOf(4);
        need(size);
        const std::string_view s = data_.substr(pos_, size);
        pos_ += size;
        return s;
    }
    void expectEnd() const {
        if (pos_ != data_.size()) {
            throw ProtocolError(msg::streamProblem(msg::StreamProblem::TrailingBytes));
        }
    }

  private:
    void need(std::uint64_t bytes) const {
        if (bytes > data_.size() - pos_) {
            throw ProtocolError(msg::streamProblem(msg::StreamProblem::ShortMessage));
        }
    }

    std::string_view data_;
    std::size_t pos_ = 0;
};

Value dateTimeValue(Cursor& in) {
    DateTime d;
    d.year = static_cast<std::int16_t>(in.unsignedOf(2));
    for (int* part : {&d.month, &d.day, &d.hour, &d.minute, &d.second}) {
        *part = static_cast<int>(in.unsignedOf(1));
    }
    return Value::dateTime(d);
}

Value readValue(Cursor& in) {
    switch (static_cast<Value::Kind>(in.unsignedOf(1))) {
        case Value::Kind::Null:
            return Value();
        case Value::Kind::Integer:
            return Value::integer(in.int64());
        case Value::Kind::Real:
            return Value::real(std::bit_cast<double>(in.unsignedOf(8)));
        case Value::Kind::Currency:
            return Value::currency(Currency{in.int64()});
        case Value::Kind::Text:
            return Value::text(in.string());
        case Value::Kind::DateTime:
            return dateTimeValue(in);
        case Value::Kind::Boolean:
            return Value::boolean(in.unsignedOf(1) != 0);
    }
    throw ProtocolError(msg::streamProblem(msg::StreamProblem::UnknownValueKind));
}

std::vector<ColumnInfo> readColumns(Cursor& in) {
    const auto count = in.unsignedOf(4);
    std::vector<ColumnInfo> columns;
    for (std::uint64_t i = 0; i < count; ++i) {
        ColumnInfo column;
        column.name = in.string();
        const auto type = in.unsignedOf(1);
        if (type > lastColumnType) {
            throw ProtocolError(msg::streamProblem(msg::StreamProblem::UnknownColumnType));
        }
        column.type = static_cast<ColumnType>(type);
        columns.push_back(std::move(column));
    }
    return columns;
}

bool fitsColumn(const Value& v, ColumnType type) {
    switch (v.kind()) {
        case Value::Kind::Null:
            return true;
        case Value::Kind::Integer:
            return type == ColumnType::Integer;
        case Value::Kind::Real:
            return type == ColumnType::Real;
        case Value::Kind::Currency:
            return type == ColumnType::Currency;
        case Value::Kind::Text:
            return type == ColumnType::Text;
        case Value::Kind::DateTime:
            return type == ColumnType::DateTime;
        case Value::Kind::Boolean:
            return type == ColumnType::Boolean;
    }
    return false;
}

}  // namespace

// ---- StreamWriter ----

// The buffer is taken once at its full size: grown by doubling, it would leave a trail of
// smaller ones behind, and each page of memory a new reader touches first costs it dearly.
StreamWriter::StreamWriter(int fd) : fd_(fd) {
    buffer_.reserve(flushThreshold + flushThreshold / 4);
}

void StreamWriter::message(Tag tag, const std::string& payload) {
    buffer_.push_back(static_cast<char>(tag));
    putUnsigned(buffer_, payload.size(), 4);
    buffer_.append(payload);
    flushWhenDue();
}

// Full enough, or held long enough that the receiver should see the progress.
void StreamWriter::flushWhenDue() {
    if (buffer_.size() >= flushThreshold || coarseMilliseconds() - lastFlush_ >= flushInterval) {
        flush();
    }
}

void StreamWriter::flush() {
    std::size_t written = 0;
    while (written < buffer_.size()) {
        const ssize_t n = ::write(fd_, buffer_.data() + written, buffer_.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            throw std::runtime_error(msg::streamProblem(msg::StreamProblem::CannotWrite));
        }
        written += static_cast<std::size_t>(n);
    }
    buffer_.clear();
    lastFlush_ = coarseMilliseconds();
}

void StreamWriter::tableNames(const std::vector<std::string>& names) {
    std::string payload;
    putUnsigned(payload, names.size(), 4);
    for (const auto& name : names) {
        putString(payload, name);
    }
    message(Tag::TableNames, payload);
}

void StreamWriter::tableBegin(std::string_view name, std::uint64_t expectedRows,
                              const std::vector<ColumnInfo>& columns) {
    std::string payload;
    putString(payload, name);
    putUnsigned(payload, expectedRows, 8);
    putColumns(payload, columns);
    message(Tag::TableBegin, payload);
}

void StreamWriter::tableDefinition(std::string_view name, std::uint64_t definedRows,
                                   const std::vector<ColumnInfo>& columns) {
    std::string payload;
    putString(payload, name);
    putUnsigned(payload, definedRows, 8);
    putColumns(payload, columns);
    message(Tag::TableDefinition, payload);
}

// Rows, the bulk of the stream, are written into the buffer in place, their length filled in
// at their end.
void StreamWriter::row(std::span<const Value> values) {
    beginRow();
    for (const auto& v : values) {
        cell(v);
    }
    endRow();
}

void StreamWriter::beginRow() {
    buffer_.push_back(static_cast<char>(Tag::Row));
    rowLengthAt_ = buffer_.size();
    putUnsigned(buffer_, 0, 4);
}

void StreamWriter::cell(const Value& value) {
    putValue(buffer_, value);
}

void StreamWriter::textCell(std::string_view text) {
    buffer_.push_back(static_cast<char>(Value::Kind::Text));
    putString(buffer_, text);
}

void StreamWriter::endRow() {
    const std::size_t length = buffer_.size() - rowLengthAt_ - 4;
    for (int i = 0; i < 4; ++i) {
        buffer_[rowLengthAt_ + i] = static_cast<char>((length >> (8 * i)) & 0xff);
    }
    flushWhenDue();
}

void StreamWriter::tableScan(std::uint64_t rowsRead, std::span<const Value> firstValues) {
    std::string payload;
    putUnsigned(payload, rowsRead, 8);
    putUnsigned(payload, firstValues.size(), 4);
    for (const auto& v : firstValues) {
        putValue(payload, v);
    }
    message(Tag::TableScan, payload);
}

void StreamWriter::tableEnd(std::uint64_t rows) {
    std::string payload;
    putUnsigned(payload, rows, 8);
    message(Tag::TableEnd, payload);
}

void StreamWriter::tableFailed(std::string_view name, std::string_view reason) {
    std::string payload;
    putString(payload, name);
    putString(payload, reason);
    message(Tag::TableFailed, payload);
}

void StreamWriter::fileFailed(std::string_view reason) {
    std::string payload;
    putString(payload, reason);
    message(Tag::FileFailed, payload);
}

void StreamWriter::done() {
    message(Tag::Done, {});
    flush();
}

// ---- StreamDecoder ----

bool StreamDecoder::feed(std::string_view bytes) {
    pending_.append(bytes);
    bool stepDone = false;
    std::size_t pos = 0;
    constexpr std::size_t headerBytes = 5;
    while (pending_.size() - pos >= headerBytes) {
        Cursor header(std::string_view(pending_).substr(pos, headerBytes));
        const auto tag = static_cast<Tag>(header.unsignedOf(1));
        const auto length = header.unsignedOf(4);
        if (length > maxPayloadBytes) {
            throw ProtocolError(msg::streamProblem(msg::StreamProblem::MessageTooLong));
        }
        if (pending_.size() - pos - headerBytes < length) {
            break;
        }
        stepDone |= handle(tag, std::string_view(pending_).substr(pos + headerBytes, length));
        pos += headerBytes + length;
    }
    pending_.erase(0, pos);
    return stepDone;
}

void StreamDecoder::finish() const {
    if (!pending_.empty()) {
        throw ProtocolError(msg::streamProblem(msg::StreamProblem::EndsInsideMessage));
    }
}

bool StreamDecoder::handle(Tag tag, std::string_view payload) {
    if (result_.done) {
        throw ProtocolError(msg::streamProblem(msg::StreamProblem::AfterEnd));
    }
    const bool inTable = current_ != nullptr;
    if (inTable != (tag == Tag::Row || tag == Tag::TableScan || tag == Tag::TableEnd)) {
        throw ProtocolError(msg::streamProblem(msg::StreamProblem::OutOfOrder));
    }
    Cursor in(payload);
    switch (tag) {
        case Tag::TableNames: {
            const auto n = in.unsignedOf(4);
            std::vector<std::string> names;
            for (std::uint64_t i = 0; i < n; ++i) {
                names.push_back(in.string());
            }
            in.expectEnd();
            result_.tableNames = std::move(names);
            return true;
        }
        case Tag::TableBegin:
            beginTable(payload);
            return false;
        case Tag::Row:
            appendRow(payload);
            return false;
        case Tag::TableScan:
            scanOfTable(payload);
            return false;
        case Tag::TableEnd:
            endTable(payload);
            return true;
        case Tag::TableFailed: {
            auto name = in.string();
            auto reason = in.string();
            in.expectEnd();
            result_.failedTables.emplace_back(std::move(name), std::move(reason));
            return true;
        }
        case Tag::TableDefinition: {
            std::string name = in.string();
            StreamResult::Definition definition;
            definition.rows = in.unsignedOf(8);
            definition.columns = readColumns(in);
            in.expectEnd();
            result_.definitions[std::move(name)] = std::move(definition);
            return false;
        }
        case Tag::FileFailed:
            result_.fileFailure = in.string();
            in.expectEnd();
            return false;
        case Tag::Done:
            in.expectEnd();
            result_.done = true;
            return false;
    }
    throw ProtocolError(msg::streamProblem(msg::StreamProblem::UnknownTag));
}

void StreamDecoder::beginTable(std::string_view payload) {
    Cursor in(payload);
    std::string name = in.string();
    const auto expectedRows = in.unsignedOf(8);
    std::vector<ColumnInfo> columns = readColumns(in);
    in.expectEnd();
    result_.definedRows[name] = expectedRows;
    current_ = std::make_unique<Table>(std::move(name), std::move(columns));
    current_->reserve(std::min<std::uint64_t>(expectedRows, maxReservedRows));
}

// Texts and integers, the bulk of the tables, go from the payload straight into the table. A
// row that turns out malformed half-way leaves the table half a row long; the table is then
// dropped with the stream.
void StreamDecoder::appendRow(std::string_view payload) {
    Cursor in(payload);
    for (const auto& column : current_->columns()) {
        const std::uint8_t kind = in.peekByte();
        if (kind == static_cast<std::uint8_t>(Value::Kind::Text) &&
            column.type == ColumnType::Text) {
            in.unsignedOf(1);
            current_->appendTextCell(in.stringView());
            continue;
        }
        if (kind == static_cast<std::uint8_t>(Value::Kind::Integer) &&
            column.type == ColumnType::Integer) {
            in.unsignedOf(1);
            current_->appendIntegerCell(in.int64());
            continue;
        }
        const Value value = readValue(in);
        if (!fitsColumn(value, column.type)) {
            throw ProtocolError(msg::streamProblem(msg::StreamProblem::ValueNotOfColumnType));
        }
        current_->appendCell(value);
    }
    in.expectEnd();
    current_->endRow();
}

void StreamDecoder::scanOfTable(std::string_view payload) {
    Cursor in(payload);
    StreamResult::Scan scan;
    scan.rowsRead = in.unsignedOf(8);
    const auto count = in.unsignedOf(4);
    const auto& columns = current_->columns();
    if (count != columns.size() || result_.scans.count(current_->name()) != 0) {
        throw ProtocolError(msg::streamProblem(msg::StreamProblem::OutOfOrder));
    }
    for (const auto& column : columns) {
        Value first = readValue(in);
        if (!fitsColumn(first, column.type)) {
            throw ProtocolError(msg::streamProblem(msg::StreamProblem::ValueNotOfColumnType));
        }
        scan.firstValues.push_back(std::move(first));
    }
    in.expectEnd();
    result_.scans[current_->name()] = std::move(scan);
}

void StreamDecoder::endTable(std::string_view payload) {
    Cursor in(payload);
    const auto rows = in.unsignedOf(8);
    in.expectEnd();
    if (rows != current_->rowCount()) {
        throw ProtocolError(msg::streamProblem(msg::StreamProblem::RowCountMismatch));
    }
    current_->shrinkToFit();
    result_.tables.push_back(std::move(current_));
}

}  // namespace planora::db::access
