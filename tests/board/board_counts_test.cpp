// Counts read from the databases and the counters of the totals never overflow unseen.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "board/counts.h"
#include "db/error.h"

namespace planora::board {
namespace {

const msg::FieldPlace kPlace{"101", "Camere_Prenotazione", "NumeroPersone"};

std::string refusal(const db::Value& value) {
    try {
        personsOf(value, kPlace);
    } catch (const Error& error) {
        return error.what();
    }
    ADD_FAILURE() << value.toText() << " was taken for a count";
    return {};
}

TEST(PersonsOf, WholeNumbersFromZeroToTheMostOfAnyKind) {
    EXPECT_EQ(personsOf(db::Value::integer(3), kPlace), 3);
    EXPECT_EQ(personsOf(db::Value::real(4.0), kPlace), 4);
    EXPECT_EQ(personsOf(db::Value::currency({20000}), kPlace), 2);
    EXPECT_EQ(personsOf(db::Value::text("5"), kPlace), 5);
    EXPECT_EQ(personsOf(db::Value(), kPlace), 0);
    EXPECT_EQ(personsOf(db::Value::integer(kMostPersons), kPlace), kMostPersons);
}

TEST(PersonsOf, NegativeFractionalHugeOrNoNumberStopsTheRunNamingRoomFieldAndValue) {
    EXPECT_EQ(refusal(db::Value::integer(3'000'000'000)),
              "Camera 101: il campo NumeroPersone di Camere_Prenotazione vale \"3000000000\", che "
              "non è un numero di persone valido (un numero intero da 0 a 32767)");
    for (const db::Value& bad :
         {db::Value::real(1e300), db::Value::real(std::nan("")), db::Value::real(-HUGE_VAL),
          db::Value::real(2.5), db::Value::integer(-2), db::Value::integer(kMostPersons + 1),
          db::Value::integer(INT64_MIN), db::Value::real(3e9)}) {
        const std::string message = refusal(bad);
        EXPECT_EQ(
            message.rfind("Camera 101: il campo NumeroPersone di Camere_Prenotazione vale \"" +
                              bad.toText() + "\"",
                          0),
            0u)
            << message;
    }
}

TEST(WholeNumber, OnlyWithinItsBounds) {
    EXPECT_EQ(wholeNumber(db::Value::integer(INT64_MAX), INT64_MIN, INT64_MAX), INT64_MAX);
    EXPECT_EQ(wholeNumber(db::Value::real(-7), -10, 10), -7);
    EXPECT_FALSE(wholeNumber(db::Value::real(1e19), INT64_MIN, INT64_MAX));
    EXPECT_FALSE(wholeNumber(db::Value::real(-0.5), -10, 10));
    EXPECT_FALSE(wholeNumber(db::Value::real(std::nan("")), INT64_MIN, INT64_MAX));
    EXPECT_FALSE(wholeNumber(db::Value::integer(11), -10, 10));
}

TEST(Counters, AddUpToTheirLargestValueAndNoFurther) {
    int counter = INT_MAX - 2;
    addToCounter(counter, 2, msg::Counter::Arrivi);
    EXPECT_EQ(counter, INT_MAX);
    try {
        addToCounter(counter, 1, msg::Counter::Arrivi);
        ADD_FAILURE() << "the counter passed its largest value";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(),
                     "Il totale degli arrivi supera il massimo che il contatore può contenere");
    }
    EXPECT_EQ(counter, INT_MAX) << "a refused sum leaves the counter as it was";
    EXPECT_THROW(addToCounter(counter, LLONG_MIN, msg::Counter::Arrivi), Error);
}

TEST(Counters, ArrangementKindsAddTheRoomsGuests) {
    Totals totals;
    for (const char* kind : {"S", "C", "M", "1", "P", "Z", ""}) {
        addToKind(kind, 2, totals);
    }
    EXPECT_EQ(totals.pn, 2);
    EXPECT_EQ(totals.bb, 2);
    EXPECT_EQ(totals.hb, 4);
    EXPECT_EQ(totals.fb, 2);
    totals.fb = INT_MAX;
    EXPECT_THROW(addToKind("P", 1, totals), Error);
}

}  // namespace
}  // namespace planora::board
