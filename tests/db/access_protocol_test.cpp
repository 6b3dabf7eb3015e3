#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>

#include "db/access_protocol.h"

namespace planora::db::access {
namespace {

// What a writer puts on the stream (small enough for one pipe buffer).
std::string bytesOf(const std::function<void(StreamWriter&)>& write) {
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    {
        StreamWriter writer(fds[1]);
        write(writer);
        writer.done();
    }
    ::close(fds[1]);
    std::string bytes;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0) {
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    return bytes;
}

const std::vector<ColumnInfo> columns = {
    {"NumeroCamera", ColumnType::Text},   {"NumeroPersone", ColumnType::Integer},
    {"Prezzo", ColumnType::Currency},     {"Sconto", ColumnType::Real},
    {"DataArrivo", ColumnType::DateTime}, {"Partito", ColumnType::Boolean},
    {"Foto", ColumnType::Binary},
};

std::vector<Value> sampleRow(int i) {
    return {Value::text("10" + std::to_string(i) + " è"),
            Value::integer(-i),
            Value::currency(Currency{1234567890123 + i}),
            Value::real(0.1 * i),
            Value::dateTime(DateTime{632 + i, 12, 31, 23, 59, 58}),
            Value::boolean(i % 2 == 0),
            Value()};
}

void writeSample(StreamWriter& out) {
    out.tableNames({"Camere_Prenotazione", "Vuota"});
    out.tableBegin("Camere_Prenotazione", 3, columns);
    for (int i = 0; i < 3; ++i) {
        const auto row = sampleRow(i);
        out.row(row);
    }
    out.tableEnd(3);
    out.tableFailed("Vuota", "libmdb cannot open it");
}

StreamResult decodeInPieces(const std::string& bytes, std::size_t piece) {
    StreamDecoder decoder;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        decoder.feed(std::string_view(bytes).substr(at, piece));
    }
    decoder.finish();
    return decoder.takeResult();
}

TEST(AccessStream, WhatIsWrittenIsReadBackInPiecesOfAnySize) {
    const auto bytes = bytesOf(writeSample);
    for (std::size_t piece : {std::size_t{1}, std::size_t{5}, std::size_t{64}, bytes.size()}) {
        SCOPED_TRACE(piece);
        const auto result = decodeInPieces(bytes, piece);
        EXPECT_TRUE(result.done);
        ASSERT_TRUE(result.tableNames);
        EXPECT_EQ(*result.tableNames, (std::vector<std::string>{"Camere_Prenotazione", "Vuota"}));
        ASSERT_EQ(result.tables.size(), 1u);
        const auto& table = *result.tables[0];
        EXPECT_EQ(table.name(), "Camere_Prenotazione");
        ASSERT_EQ(table.rowCount(), 3u);
        for (std::size_t r = 0; r < 3; ++r) {
            const auto expected = sampleRow(static_cast<int>(r));
            for (std::size_t c = 0; c < columns.size(); ++c) {
                EXPECT_EQ(table.value(r, c), expected[c]) << "row " << r << " column " << c;
            }
        }
        ASSERT_EQ(result.failedTables.size(), 1u);
        EXPECT_EQ(result.failedTables[0].first, "Vuota");
    }
}

TEST(AccessStream, ATableReadWithAWhereGivesWhatItsScanSaw) {
    const std::vector<Value> first = {Value::text("101"),
                                      Value(),
                                      Value::currency(Currency{5}),
                                      Value(),
                                      Value::dateTime(DateTime{2025, 11, 3, 0, 0, 0}),
                                      Value::boolean(false),
                                      Value()};
    const auto result = decodeInPieces(bytesOf([&](StreamWriter& out) {
                                           out.tableBegin("Camere_Prenotazione", 904, columns);
                                           out.row(sampleRow(7));
                                           out.tableScan(904, first);
                                           out.tableEnd(1);
                                       }),
                                       3);
    ASSERT_EQ(result.tables.size(), 1u);
    EXPECT_EQ(result.tables[0]->rowCount(), 1u);
    const auto& scan = result.scans.at("Camere_Prenotazione");
    EXPECT_EQ(scan.rowsRead, 904u);
    EXPECT_EQ(scan.firstValues, first);
    // A table read whole tells nothing more.
    EXPECT_TRUE(decodeInPieces(bytesOf(writeSample), 9).scans.empty());
}

TEST(AccessStream, EachCompletedStepIsReportedOnce) {
    // The table list, the table and the failed table are steps; rows and the end are not.
    const auto bytes = bytesOf(writeSample);
    StreamDecoder decoder;
    int steps = 0;
    for (char byte : bytes) {
        steps += decoder.feed(std::string_view(&byte, 1)) ? 1 : 0;
    }
    EXPECT_EQ(steps, 3);
    StreamDecoder whole;
    EXPECT_TRUE(whole.feed(bytes));
}

TEST(AccessStream, ACutStreamIsNeverTakenAsComplete) {
    const auto bytes = bytesOf(writeSample);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        StreamDecoder decoder;
        bool complete = false;
        try {
            decoder.feed(std::string_view(bytes).substr(0, length));
            decoder.finish();
            complete = decoder.result().done;
        } catch (const ProtocolError&) {
        }
        EXPECT_FALSE(complete) << "cut at " << length;
    }
}

TEST(AccessStream, ChangedBytesAreRejectedOrDecodedSafely) {
    const auto bytes = bytesOf(writeSample);
    int rejected = 0;
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        std::string changed = bytes;
        changed[at] = static_cast<char>(changed[at] ^ 0x5a);
        try {
            decodeInPieces(changed, changed.size());
        } catch (const ProtocolError&) {
            ++rejected;
        }
    }
    EXPECT_GT(rejected, 0);
}

// The reason a broken stream gives, or "accepted".
std::string rejection(const std::string& bytes) {
    try {
        decodeInPieces(bytes, 7);
    } catch (const ProtocolError& e) {
        return e.what();
    }
    return "accepted";
}

TEST(AccessStream, StreamsThatBreakTheRulesAreRejected) {
    const auto row = sampleRow(1);
    const std::pair<std::function<void(StreamWriter&)>, const char*> broken[] = {
        {[&](StreamWriter& out) { out.row(row); },  // a row outside a table
         "un messaggio è fuori posto"},
        {[&](StreamWriter& out) {  // fewer rows than announced at the end
             out.tableBegin("A", 2, columns);
             out.row(row);
             out.tableEnd(2);
         },
         "il numero delle righe non corrisponde alle righe mandate"},
        {[&](StreamWriter& out) {  // a value of another kind than its column
             out.tableBegin("A", 1, {{"N", ColumnType::Integer}});
             const Value text = Value::text("uno");
             out.row({&text, 1});
         },
         "un valore non è del tipo della sua colonna"},
        {[&](StreamWriter& out) {  // a row with too few values
             out.tableBegin("A", 1, columns);
             out.row(std::span<const Value>(row).first(2));
         },
         "un messaggio è più corto del suo contenuto"},
        {[&](StreamWriter& out) { out.tableScan(1, row); },  // a scan outside a table
         "un messaggio è fuori posto"},
        {[&](StreamWriter& out) {  // a scan of fewer columns than the table's
             out.tableBegin("A", 1, columns);
             out.tableScan(1, std::span<const Value>(row).first(2));
         },
         "un messaggio è fuori posto"},
        {[&](StreamWriter& out) {  // a first value of another kind than its column
             out.tableBegin("A", 1, {{"N", ColumnType::Integer}});
             const Value text = Value::text("uno");
             out.tableScan(1, {&text, 1});
         },
         "un valore non è del tipo della sua colonna"},
        {[&](StreamWriter& out) {  // a table inside a table
             out.tableBegin("A", 1, columns);
             out.tableBegin("B", 1, columns);
         },
         "un messaggio è fuori posto"},
    };
    for (std::size_t i = 0; i < std::size(broken); ++i) {
        EXPECT_EQ(rejection(bytesOf(broken[i].first)), broken[i].second) << "case " << i;
    }
    EXPECT_EQ(rejection(bytesOf(writeSample) + bytesOf(writeSample)),
              "un messaggio segue la fine dei dati");
    EXPECT_EQ(rejection(std::string("\x03\xff\xff\xff\x7f", 5)),
              "un messaggio è più lungo di qualsiasi messaggio previsto");
    EXPECT_EQ(rejection(std::string("\x0a\x00\x00\x00\x00", 5)),
              "un messaggio è di un tipo sconosciuto");
}

}  // namespace
}  // namespace planora::db::access
