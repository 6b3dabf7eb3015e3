// The texts of reading a table in several passes that a test cannot bring about on demand:
// a source that delivers another number of rows on a later pass.

#include <gtest/gtest.h>

#include "messages/reading_messages.h"

namespace planora::msg {
namespace {

TEST(ReadingMessages, ATableThatChangedBetweenTwoPasses) {
    EXPECT_EQ(rowsChangedBetweenReads("Arrangiamento", 1000320, 1000319),
              "La tabella \"Arrangiamento\" ha dato 1000319 righe in una nuova lettura invece "
              "delle 1000320 della prima: un altro programma l'ha modificata; ripetere "
              "l'operazione");
}

}  // namespace
}  // namespace planora::msg
