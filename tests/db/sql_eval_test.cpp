#include <gtest/gtest.h>

#include "db/error.h"
#include "db/quote.h"
#include "db/sql.h"
#include "sql_test_row.h"
#include "sqlite_fixture.h"

namespace planora::db::sql {
namespace {

using testing::TestRow;

TestRow guest() {
    return TestRow{
        {"NumeroHotel", Value::integer(1)},
        {"NumeroCamera", Value::text("1'A")},
        {"NomeCliente", Value::text("Rossi Mario")},
        {"DataArrivo", Value::text("20240314")},
        {"DataPartenza", Value::text("20240316")},
        {"Partito", Value()},
        {"ImportoTotale", Value::currency(Currency{1234500})},
        {"NumeroPersone", Value::real(2.0)},
        {"Città", Value::text("Forlì")},
    };
}

TEST(SqlEval, TheProgramsCriteriaSelectTheRightRow) {
    const TestRow row = guest();
    EXPECT_TRUE(row.matches("NumeroHotel = 1 and NumeroCamera = " + quote("1'A")));
    EXPECT_FALSE(row.matches("NumeroHotel = 2 and NumeroCamera = " + quote("1'A")));
    EXPECT_FALSE(row.matches("NumeroHotel = 1 and NumeroCamera = '1A'"));
    EXPECT_TRUE(row.matches("DataArrivo <= '20240315' and DataPartenza >= '20240315'"));
    EXPECT_FALSE(row.matches("DataArrivo <= '20240313' and DataPartenza >= '20240313'"));
    EXPECT_TRUE(row.matches("NumeroHotel = 1 and NumeroCamera >= '1'"));
    EXPECT_FALSE(row.matches("NumeroCamera >= '9'"));
}

TEST(SqlEval, TextsCompareWithoutRegardToCase) {
    const TestRow row = guest();
    EXPECT_TRUE(row.matches("NomeCliente = 'ROSSI MARIO'"));
    EXPECT_TRUE(row.matches("[città] = 'FORLÌ'"));
    EXPECT_TRUE(row.matches("nomecliente > 'rossi'"));
    EXPECT_FALSE(row.matches("NomeCliente = 'Rossi'"));
}

TEST(SqlEval, NumbersCompareAsNumbersWhateverTheirKind) {
    const TestRow row = guest();
    EXPECT_TRUE(row.matches("NumeroPersone = 2"));
    EXPECT_TRUE(row.matches("NumeroPersone > 1.5 and NumeroPersone < 2.5"));
    EXPECT_TRUE(row.matches("ImportoTotale = 123.45"));
    EXPECT_TRUE(row.matches("ImportoTotale > 123 and ImportoTotale < 124"));
    EXPECT_TRUE(row.matches("NumeroHotel = 1.0"));
    EXPECT_TRUE(row.matches("NumeroHotel = True"));
}

std::string errorOf(const TestRow& row, std::string_view criteria,
                    std::vector<Value> subqueryValues = {}) {
    return planora::testing::errorMessage([&] { row.matches(criteria, subqueryValues); });
}

// As the Access engine, a text compared with a number or a date is an error, not a row that
// silently fails to match.
TEST(SqlEval, ATextComparedWithANumberOrADateIsATypeMismatch) {
    TestRow row = guest();
    EXPECT_EQ(errorOf(row, "NumeroHotel = '1'"),
              "Tipo di dati non corrispondente nell'espressione criterio \"NumeroHotel = '1'\": "
              "si confronta il campo \"NumeroHotel\" (che contiene il numero 1) con il testo "
              "\"1\"");
    EXPECT_EQ(errorOf(row, "'20240313' < DataArrivo and 101 = NumeroCamera"),
              "Tipo di dati non corrispondente nell'espressione criterio \"'20240313' < "
              "DataArrivo and 101 = NumeroCamera\": si confronta il numero 101 con il campo "
              "\"NumeroCamera\" (che contiene il testo \"1'A\")");
    EXPECT_NE(
        errorOf(row, "NumeroCamera = NumeroHotel")
            .find("si confronta il campo \"NumeroCamera\" (che contiene il testo \"1'A\") con il "
                  "campo \"NumeroHotel\" (che contiene il numero 1)"),
        std::string::npos);
    EXPECT_NE(errorOf(row, "ImportoTotale >= '100'").find("il numero 123.4500"), std::string::npos);
    EXPECT_NE(errorOf(row, "(NumeroHotel = 1) = 'S'").find("il valore Sì/No Sì"),
              std::string::npos);
    // In a list, whatever the other items.
    EXPECT_NE(errorOf(row, "NumeroHotel Not In (3, '1')").find("con il testo \"1\""),
              std::string::npos);
    EXPECT_NE(errorOf(row, "NumeroHotel In (1, '1')"), "no error");
    // Dates are no texts either.
    row.set("DataArrivo", Value::dateTime(DateTime{2024, 3, 14, 0, 0, 0}));
    EXPECT_NE(errorOf(row, "DataArrivo <= '20240315'")
                  .find("il campo \"DataArrivo\" (che contiene la data 2024-03-14 00:00:00)"),
              std::string::npos);
    // Only the comparisons an evaluation reaches count: And stops at a false term.
    EXPECT_FALSE(row.matches("NumeroHotel = 2 and NumeroCamera = 1"));
}

TEST(SqlEval, NullAndLikeStayOutsideTheTypeCheck) {
    TestRow row = guest();
    row.set("NumeroHotel", Value());
    EXPECT_FALSE(row.matches("NumeroHotel = '1'"));
    EXPECT_FALSE(row.matches("NumeroHotel <> '1'"));
    EXPECT_FALSE(row.matches("NumeroHotel In ('1', 2)"));
    EXPECT_FALSE(row.matches("Partito = 1"));
    EXPECT_FALSE(row.matches("NumeroCamera = Null"));
    // Like reads a number by its text, as Access does.
    EXPECT_TRUE(row.matches("NumeroPersone Like '2'"));
}

TEST(SqlEval, ASubqueryOfAnotherKindIsATypeMismatch) {
    const TestRow room{{"TipoCamera", Value::text("DUS")}};
    const std::string criteria =
        "TipoCamera In (Select Sigla From TipiCamere In 'TipiCamere.mdb' Where Tipologia = 'C')";
    EXPECT_EQ(errorOf(room, criteria, {Value::text("SGL"), Value::integer(2)}),
              "Tipo di dati non corrispondente nell'espressione criterio \"" + criteria +
                  "\": si confronta il campo \"TipoCamera\" (che contiene il testo \"DUS\") con "
                  "i valori della sottoquery sulla tabella \"TipiCamere\" (tra cui il numero 2)");
    EXPECT_EQ(errorOf(room, criteria, {Value::text("DUS"), Value()}), "no error");
}

TEST(SqlEval, NullNeverMatchesAndNotOfUnknownStaysUnknown) {
    const TestRow row = guest();
    EXPECT_FALSE(row.matches("Partito = 'S'"));
    EXPECT_FALSE(row.matches("Partito <> 'S'"));
    EXPECT_FALSE(row.matches("Not Partito = 'S'"));
    EXPECT_FALSE(row.matches("Not (Partito <> 'S')"));
    EXPECT_FALSE(row.matches("Partito = Null"));
    EXPECT_TRUE(row.matches("Partito Is Null"));
    EXPECT_FALSE(row.matches("Partito Is Not Null"));
    EXPECT_TRUE(row.matches("NumeroHotel Is Not Null"));
    // Unknown Or true is true; unknown And false is false, so its Not is true.
    EXPECT_TRUE(row.matches("Partito = 'S' Or NumeroHotel = 1"));
    EXPECT_TRUE(row.matches("Not (Partito = 'S' And NumeroHotel = 2)"));
    EXPECT_FALSE(row.matches("Not (Partito = 'S' And NumeroHotel = 1)"));
    EXPECT_FALSE(row.matches("Not (Partito = 'S' Or NumeroHotel = 2)"));
    EXPECT_FALSE(row.matches("Partito Like '*'"));
    EXPECT_FALSE(row.matches("Partito In ('S', 'N')"));
    EXPECT_FALSE(row.matches("Partito Not In ('S', 'N')"));
}

TEST(SqlEval, BooleanLiteralsAndBareValuesAsConditions) {
    const TestRow row = guest();
    EXPECT_TRUE(row.matches("True"));
    EXPECT_FALSE(row.matches("False"));
    EXPECT_FALSE(row.matches("Null"));
    EXPECT_TRUE(row.matches("NumeroHotel"));  // a nonzero number holds
    EXPECT_FALSE(row.matches("Partito"));
    EXPECT_TRUE(row.matches("(NumeroHotel = 1) = True"));
    EXPECT_TRUE(row.matches("(NumeroHotel = 2) = False"));
}

TEST(SqlEval, LikeAndInLists) {
    const TestRow row = guest();
    EXPECT_TRUE(row.matches("NomeCliente Like 'rossi*'"));
    EXPECT_FALSE(row.matches("NomeCliente Not Like 'rossi*'"));
    EXPECT_TRUE(row.matches("NumeroCamera Like '#''?'"));
    EXPECT_TRUE(row.matches("DataArrivo Like '2024031[0-4]'"));
    EXPECT_TRUE(row.matches("NumeroHotel Like '1'"));  // numbers are matched by their text
    EXPECT_TRUE(row.matches("NumeroCamera In ('101', '1''a', '102')"));
    EXPECT_FALSE(row.matches("NumeroCamera In ('101', '102')"));
    EXPECT_TRUE(row.matches("NumeroCamera Not In ('101', '102')"));
    EXPECT_TRUE(row.matches("NumeroHotel In (3, 2.0, 1)"));
    // An element that cannot be judged makes "Not In" unknown rather than true.
    EXPECT_FALSE(row.matches("NumeroHotel Not In (3, Null)"));
}

TEST(SqlEval, InSelectUsesTheSubqueryValues) {
    TestRow room{{"TipoCamera", Value::text("dus")}};
    const std::vector<Value> kinds = {Value::text("SGL"), Value::text("DUS")};
    const std::string criteria =
        "TipoCamera In (Select Sigla From TipiCamere In 'TipiCamere.mdb' Where (Tipologia = 'C' "
        "or Tipologia = 'A'))";
    EXPECT_TRUE(room.matches(criteria, kinds));
    room.set("TipoCamera", Value::text("SUITE"));
    EXPECT_FALSE(room.matches(criteria, kinds));
    EXPECT_TRUE(room.matches("Not " + criteria, kinds));
    room.set("TipoCamera", Value());
    EXPECT_FALSE(room.matches(criteria, kinds));
    EXPECT_FALSE(room.matches("Not " + criteria, kinds));

    // Long results are looked up by key: the answers must not change.
    std::vector<Value> many;
    for (int i = 0; i < 200; ++i) {
        many.push_back(Value::text("T" + std::to_string(i)));
    }
    room.set("TipoCamera", Value::text("t150"));
    EXPECT_TRUE(room.matches(criteria, many));
    room.set("TipoCamera", Value::text("t200"));
    EXPECT_FALSE(room.matches(criteria, many));
    EXPECT_TRUE(room.matches("Not " + criteria, many));
    many.push_back(Value());
    EXPECT_FALSE(room.matches("Not " + criteria, many));
}

TEST(SqlEval, ASubqueryNeedsARunner) {
    const TestRow room{{"TipoCamera", Value::text("SGL")}};
    const std::string criteria = "TipoCamera In (Select Sigla From TipiCamere)";
    const ExprPtr expr = parseCriteria(criteria);
    try {
        BoundExpr bound(*expr, room.resolver(), {}, {msg::SqlText::Criteria, criteria, {}, {}});
        FAIL() << "a sub-query was bound without a runner";
    } catch (const planora::Error& e) {
        EXPECT_STREQ(e.what(),
                     "La sottoquery alla posizione 16 non si può eseguire qui (criterio "
                     "\"TipoCamera In (Select Sigla From TipiCamere)\")");
    }
}

TEST(SqlEval, TheSubqueryRunnerReceivesTheParsedSubSelect) {
    const TestRow room{{"TipoCamera", Value::text("SGL")}};
    const ExprPtr expr = parseCriteria(
        "TipoCamera In (Select Sigla From TipiCamere In 'TipiCamere.mdb' Where Tipologia = 'C')");
    std::string seen;
    SubqueryRunner runner = [&](const SelectStatement& s) {
        seen = s.column + "|" + s.table + "|" + s.inFile;
        return std::vector<Value>{Value::text("SGL")};
    };
    BoundExpr bound(*expr, room.resolver(), runner);
    EXPECT_EQ(seen, "Sigla|TipiCamere|TipiCamere.mdb");
    EXPECT_TRUE(bound.matches(room.reader()));
}

TEST(SqlEval, BindingNamesTheUnknownField) {
    const TestRow row = guest();
    const std::string criteria = "NumeroHotel = 1 and NumeroCamerra = '101'";
    const ExprPtr expr = parseCriteria(criteria);
    const TextSource source{msg::SqlText::Criteria, criteria, "Scheda_Cliente",
                            "dati/Scheda_Cliente.mdb"};
    try {
        BoundExpr bound(*expr, row.resolver(), {}, source);
        FAIL() << "an unknown field was accepted";
    } catch (const planora::Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Il campo \"NumeroCamerra\" non esiste nella tabella \"Scheda_Cliente\" del file "
                  "'dati/Scheda_Cliente.mdb' (criterio \"" +
                      criteria + "\")");
    }
}

TEST(SqlEval, EqualitiesListOnlyTermsEveryMatchNeeds) {
    const TestRow row = guest();
    auto equalities = [&](std::string_view criteria) {
        const ExprPtr expr = parseCriteria(criteria);
        BoundExpr bound(*expr, row.resolver(), {});
        return bound.equalities();
    };
    const auto terms = equalities(
        "NumeroHotel = 1 and '1''A' = NumeroCamera and DataArrivo <= '20240315' and "
        "(NomeCliente = 'x' or Partito = 'S') and not Partito = 'S' and Partito = Null");
    ASSERT_EQ(terms.size(), 2u);
    EXPECT_EQ(terms[0].column, 0u);
    EXPECT_EQ(terms[0].value, Value::integer(1));
    EXPECT_EQ(terms[1].column, 1u);
    EXPECT_EQ(terms[1].value, Value::text("1'A"));
    EXPECT_TRUE(equalities("NumeroHotel = 1 or NumeroCamera = '101'").empty());
    EXPECT_TRUE(equalities("not (NumeroHotel = 1 and NumeroCamera = '101')").empty());
    EXPECT_TRUE(equalities("NumeroHotel <> 1").empty());
    EXPECT_TRUE(equalities("NumeroHotel = NumeroPersone").empty());
    EXPECT_EQ(equalities("((NumeroHotel = 3))").size(), 1u);
}

TEST(SqlEval, ABoundExpressionCanBeMovedAndEvaluatedOnManyRows) {
    TestRow row = guest();
    const ExprPtr expr = parseCriteria("NumeroHotel = 1 and DataArrivo <= '20240315'");
    BoundExpr first(*expr, row.resolver(), {});
    BoundExpr moved(std::move(first));
    EXPECT_TRUE(moved.matches(row.reader()));
    row.set("DataArrivo", Value::text("20240401"));
    EXPECT_FALSE(moved.matches(row.reader()));
    row.set("DataArrivo", Value::text("20240315"));
    EXPECT_TRUE(moved.matches(row.reader()));
}

}  // namespace
}  // namespace planora::db::sql
