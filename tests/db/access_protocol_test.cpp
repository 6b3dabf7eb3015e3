#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

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

TEST(AccessStream, ARowWrittenCellByCellIsTheSameRow) {
    const auto row = sampleRow(4);
    const auto whole = bytesOf([&](StreamWriter& out) {
        out.tableBegin("Camere_Prenotazione", 1, columns);
        out.row(row);
        out.tableEnd(1);
    });
    const auto byCells = bytesOf([&](StreamWriter& out) {
        out.tableBegin("Camere_Prenotazione", 1, columns);
        out.beginRow();
        for (const Value& v : row) {
            if (v.kind() == Value::Kind::Text) {
                out.textCell(v.asText());
            } else {
                out.cell(v);
            }
        }
        out.endRow();
        out.tableEnd(1);
    });
    EXPECT_EQ(byCells, whole);
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

// The bytes waiting in a pipe whose write end is still open.
std::size_t waitingBytes(int fd) {
    std::string bytes;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes.size();
}

class WriterOnAPipe : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(::pipe2(fds_, O_NONBLOCK), 0);
        // Room for a whole buffer of the writer, which must not meet a full pipe.
        ASSERT_GE(::fcntl(fds_[1], F_SETPIPE_SZ, 1 << 18), 1 << 18);
    }
    void TearDown() override {
        ::close(fds_[0]);
        ::close(fds_[1]);
    }
    int fds_[2] = {-1, -1};
};

// Whether less than the writer's flush interval has passed since `start`: a machine that
// stalled the test longer lets the writer send early, as it should.
bool quick(std::chrono::steady_clock::time_point start) {
    return std::chrono::steady_clock::now() - start < std::chrono::milliseconds(50);
}

TEST_F(WriterOnAPipe, AnAnswerReachesTheReceiverWhenItIsDone) {
    const auto start = std::chrono::steady_clock::now();
    StreamWriter out(fds_[1]);
    writeSample(out);
    if (quick(start)) {
        EXPECT_EQ(waitingBytes(fds_[0]), 0u)
            << "the receiver was woken before the answer was whole";
    }
    out.done();
    const auto whole = waitingBytes(fds_[0]);
    EXPECT_EQ(whole, bytesOf(writeSample).size());
}

TEST_F(WriterOnAPipe, RowsReadSlowlyAreSentAboutATenthOfASecondLater) {
    const auto start = std::chrono::steady_clock::now();
    StreamWriter out(fds_[1]);
    out.tableBegin("Camere_Prenotazione", 1000, columns);
    const auto row = sampleRow(1);
    out.row(row);
    if (quick(start)) {
        EXPECT_EQ(waitingBytes(fds_[0]), 0u);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    out.row(row);
    EXPECT_GT(waitingBytes(fds_[0]), 0u) << "a row held back after a tenth of a second";
}

TEST_F(WriterOnAPipe, AFullBufferIsSentWithoutWaiting) {
    StreamWriter out(fds_[1]);
    out.tableBegin("Camere_Prenotazione", 1000, columns);
    const auto row = sampleRow(1);
    std::size_t sent = 0;
    for (int i = 0; i < 5000 && sent == 0; ++i) {
        out.row(row);
        sent = waitingBytes(fds_[0]);
    }
    EXPECT_GE(sent, 64u * 1024u);
}

}  // namespace
}  // namespace planora::db::access
