#include <gtest/gtest.h>

#include <string>

#include "db/error.h"
#include "db/quote.h"
#include "db/sql.h"
#include "db/sql_print.h"

namespace planora::db::sql {
namespace {

// The message of the planora::Error that parsing throws, or "" when it parses.
std::string criteriaError(std::string_view text) {
    try {
        parseCriteria(text);
    } catch (const planora::Error& e) {
        return e.what();
    }
    return "";
}

std::string selectError(std::string_view text) {
    try {
        parseSelect(text);
    } catch (const planora::Error& e) {
        return e.what();
    }
    return "";
}

// The statements the board builder, the room line composer and the windows open.
std::vector<std::string> programStatements() {
    const std::string hotel = "1", key = "'20240315'";
    return {
        "Select * From NumeriCamere Where TipoCamera In (Select Sigla From TipiCamere In "
        "'TipiCamere.mdb' Where (Tipologia = 'C' or Tipologia = 'A'));",
        "Select * From Scheda_Cliente Where NumeroHotel = " + hotel + " and DataArrivo <= " + key +
            " and DataPartenza >= " + key + " Order by NumeroCamera,NumeroProgressivo;",
        "Select * From Camere_Prenotazione Where NumeroHotel = " + hotel +
            " and DataArrivo <= " + key + " and DataPartenza > " + key + " Order by NumeroCamera;",
        "Select * From Scheda_Cliente Where NumeroHotel = " + hotel + " and DataArrivo = " + key,
        "Select * From Camere_Prenotazione Where NumeroHotel = " + hotel +
            " and DataPartenza = " + key,
        "Select * From Arrangiamento Where DataInizio <= " + key + " and DataFine > " + key,
        "Select * From Scheda_Cliente Where DataArrivo <= " + key +
            " and DataPartenzaReale >= " + key,
        "Select * From Scheda_Cliente Where NumeroHotel = 12 and DataPartenzaReale = " + key,
    };
}

std::vector<std::string> programCriteria() {
    const std::string room = quote("1'A");
    return {
        "NumeroHotel = 1 and NumeroTableau = 2 and NumeroCamera >= '101'",
        "NumeroHotel = 1 and NumeroCamera = " + room,
        "NumeroHotel = 1 and CodiceCliente = 4711",
        "NumeroHotel = 1 and CodiceCliente = 4711 and NumeroConto = 1",
        "NumeroHotel = 1 and Codice = 3",
        "NumeroHotel = 1 and NumeroCamera = '101' and DataArrivo = '20240315' and "
        "NumeroPersone > 0 and TipoPrenotazione <> 'A'",
        "NumeroHotel = 1 and NumeroPrenotazione = 99",
        "NumeroHotel = 1 and Sigla = 'HB'",
        "Numero > 0",
        "NumeroHotel = 1 and Codice > 0",
        "NumeroHotel = 1 and NumeroTableau = 1",
        "Sigla = 'DUS'",
        "Numero = 1",
        "NumeroHotel = 1",
        "Destinazione = " + quote("Stampante dell'ufficio"),
        "TipoStampa = 2",
    };
}

TEST(SqlParse, AcceptsEveryStatementTheProgramOpens) {
    for (const std::string& text : programStatements()) {
        EXPECT_TRUE(looksLikeSelect(text)) << text;
        EXPECT_NO_THROW(parseSelect(text)) << text;
    }
}

TEST(SqlParse, AcceptsEveryCriteriaTheProgramFindsWith) {
    for (const std::string& text : programCriteria()) {
        EXPECT_NO_THROW(parseCriteria(text)) << text;
    }
}

TEST(SqlParse, SelectPartsAreRead) {
    const SelectStatement day = parseSelect(programStatements()[1]);
    EXPECT_EQ(day.table, "Scheda_Cliente");
    EXPECT_TRUE(day.column.empty());
    EXPECT_TRUE(day.inFile.empty());
    ASSERT_TRUE(day.where);
    EXPECT_EQ(day.where->kind, Expr::Kind::And);
    ASSERT_EQ(day.orderBy.size(), 2u);
    EXPECT_EQ(day.orderBy[0].column, "NumeroCamera");
    EXPECT_EQ(day.orderBy[1].column, "NumeroProgressivo");
    EXPECT_FALSE(day.orderBy[0].descending);

    const SelectStatement rooms = parseSelect(programStatements()[0]);
    ASSERT_TRUE(rooms.where);
    ASSERT_EQ(rooms.where->kind, Expr::Kind::InSelect);
    const SelectStatement& types = *rooms.where->subquery;
    EXPECT_EQ(types.column, "Sigla");
    EXPECT_EQ(types.table, "TipiCamere");
    EXPECT_EQ(types.inFile, "TipiCamere.mdb");
    ASSERT_TRUE(types.where);
    EXPECT_EQ(types.where->kind, Expr::Kind::Or);
}

TEST(SqlParse, KeywordsInAnyCaseBracketsAndOrderDirections) {
    const SelectStatement s = parseSelect(
        "  sElEcT * fRoM [Scheda Cliente] in 'a.mdb' WHERE [Numero Hotel] = 1 "
        "ORDER BY [Numero Camera] desc, Nome ASC");
    EXPECT_EQ(s.table, "Scheda Cliente");
    EXPECT_EQ(s.inFile, "a.mdb");
    EXPECT_EQ(s.where->children[0]->name, "Numero Hotel");
    ASSERT_EQ(s.orderBy.size(), 2u);
    EXPECT_TRUE(s.orderBy[0].descending);
    EXPECT_EQ(s.orderBy[0].column, "Numero Camera");
    EXPECT_FALSE(s.orderBy[1].descending);
    EXPECT_NO_THROW(parseSelect("Select * From T"));
    EXPECT_NO_THROW(parseSelect("select * from T;"));
}

TEST(SqlParse, LiteralsOfEveryKind) {
    const ExprPtr e = parseCriteria(
        "a In (12, -3, 2.5, .5, 'it''s', \"say \"\"hi\"\"\", True, false, NULL, 1e3)");
    ASSERT_EQ(e->kind, Expr::Kind::InList);
    ASSERT_EQ(e->children.size(), 11u);
    EXPECT_EQ(e->children[1]->literal, Value::integer(12));
    EXPECT_EQ(e->children[2]->literal, Value::integer(-3));
    EXPECT_EQ(e->children[3]->literal, Value::real(2.5));
    EXPECT_EQ(e->children[4]->literal, Value::real(0.5));
    EXPECT_EQ(e->children[5]->literal, Value::text("it's"));
    EXPECT_EQ(e->children[6]->literal, Value::text("say \"hi\""));
    EXPECT_EQ(e->children[7]->literal, Value::boolean(true));
    EXPECT_EQ(e->children[8]->literal, Value::boolean(false));
    EXPECT_TRUE(e->children[9]->literal.isNull());
    EXPECT_EQ(e->children[10]->literal, Value::real(1000.0));
    EXPECT_EQ(parseCriteria("a = -9223372036854775808")->children[1]->literal,
              Value::integer(std::numeric_limits<std::int64_t>::min()));
    EXPECT_EQ(parseCriteria("a = 99999999999999999999")->children[1]->literal.kind(),
              Value::Kind::Real);
}

TEST(SqlParse, QuotedTextsReadBackExactly) {
    for (const char* text : {"", "'", "L'ALBA", "''x''", "a\"b", "1'A", "caffè 'n"}) {
        const ExprPtr e = parseCriteria("NumeroCamera = " + quote(text));
        EXPECT_EQ(e->children[1]->literal, Value::text(text)) << text;
    }
}

TEST(SqlParse, PrecedenceNotOverAndOverOr) {
    // The printed form puts parentheses only where the grouping needs them.
    auto printed = [](std::string_view text) { return printExpr(*parseCriteria(text)); };
    EXPECT_EQ(printed("a = 1 Or Not b = 2 And c = 3"), "[a] = 1 Or Not [b] = 2 And [c] = 3");
    EXPECT_EQ(printed("(a = 1 Or b = 2) And c = 3"), "([a] = 1 Or [b] = 2) And [c] = 3");
    EXPECT_EQ(printed("a = 1 And (b = 2 And c = 3)"), "[a] = 1 And ([b] = 2 And [c] = 3)");
    EXPECT_EQ(printed("Not (a = 1 And b = 2)"), "Not ([a] = 1 And [b] = 2)");
    EXPECT_EQ(printed("((a = 1)) and ((b)) = (True)"), "[a] = 1 And [b] = True");
    EXPECT_EQ(printed("(a = 1) = (b Is Null)"), "([a] = 1) = ([b] Is Null)");
    EXPECT_EQ(printed("a Not Like 'x*' and b is not null and c not in (1)"),
              "Not [a] Like 'x*' And Not [b] Is Null And Not [c] In (1)");

    // The tree itself: Or at the top, its right side an And whose left side is a Not.
    const ExprPtr e = parseCriteria("a = 1 Or Not b = 2 And c = 3");
    ASSERT_EQ(e->kind, Expr::Kind::Or);
    ASSERT_EQ(e->children[1]->kind, Expr::Kind::And);
    EXPECT_EQ(e->children[1]->children[0]->kind, Expr::Kind::Not);
    EXPECT_EQ(e->children[1]->children[0]->children[0]->kind, Expr::Kind::Compare);
    // And reads from the left.
    const ExprPtr chain = parseCriteria("a = 1 and b = 2 and c = 3");
    ASSERT_EQ(chain->kind, Expr::Kind::And);
    EXPECT_EQ(chain->children[0]->kind, Expr::Kind::And);
    EXPECT_EQ(chain->children[1]->children[0]->name, "c");
}

TEST(SqlParse, PrintedFormReadsBackTheSame) {
    std::vector<std::string> texts = programCriteria();
    texts.push_back("Not (a <> 1.5 Or b <= -2) And [c d] Like '[!a-c]#?*' Or e Is Null");
    texts.push_back(std::string(99, '(') + "a = 1" + std::string(99, ')'));
    std::string chain = "a = 0";
    for (int i = 1; i < 400; ++i) {
        chain += (i % 3 ? " and a = " : " or a = ") + std::to_string(i);
    }
    texts.push_back(chain);
    for (const std::string& text : texts) {
        const std::string printed = printExpr(*parseCriteria(text));
        EXPECT_EQ(printExpr(*parseCriteria(printed)), printed) << text;
    }
    for (const std::string& text : programStatements()) {
        const std::string printed = printSelect(parseSelect(text));
        EXPECT_EQ(printSelect(parseSelect(printed)), printed) << text;
    }
}

// Every syntax error names the text, the character position and the problem, in Italian.
TEST(SqlParse, ErrorsNameTheTextThePositionAndWhatWasExpected) {
    auto inCriteria = [](const std::string& text, int position, const std::string& problem) {
        return "Errore di sintassi nel criterio \"" + text + "\" alla posizione " +
               std::to_string(position) + ": " + problem;
    };
    const std::string value = "si attendeva un valore";
    EXPECT_EQ(criteriaError("NumeroHotel = "), inCriteria("NumeroHotel = ", 15, value));
    EXPECT_EQ(criteriaError("NumeroHotel = 1 NumeroCamera = '1'"),
              inCriteria("NumeroHotel = 1 NumeroCamera = '1'", 17,
                         "si attendeva un operatore o la fine del criterio"));
    EXPECT_EQ(
        criteriaError("a = 'open"),
        inCriteria("a = 'open", 5, "il testo che comincia qui non ha la virgoletta di chiusura"));
    EXPECT_EQ(criteriaError("[a = 1"),
              inCriteria("[a = 1", 1, "il nome che comincia qui non ha la \"]\" di chiusura"));
    EXPECT_EQ(criteriaError("[] = 1"),
              inCriteria("[] = 1", 1, "tra le parentesi quadre manca il nome"));
    EXPECT_EQ(criteriaError("(a = 1"), inCriteria("(a = 1", 7, "si attendeva \")\""));
    EXPECT_EQ(criteriaError("a = #2024#"),
              inCriteria("a = #2024#", 5, "questo carattere non è ammesso qui"));
    EXPECT_EQ(criteriaError("a In ()"), inCriteria("a In ()", 7, value));
    EXPECT_EQ(criteriaError("a is 1"), inCriteria("a is 1", 6, "si attendeva \"Null\""));
    EXPECT_EQ(criteriaError("select = 1"), inCriteria("select = 1", 1, value));
    EXPECT_EQ(criteriaError("a = 1e999"),
              inCriteria("a = 1e999", 5, "il numero è fuori dall'intervallo ammesso"));
    EXPECT_EQ(criteriaError("a = -x"), inCriteria("a = -x", 6, "si attendeva un numero"));
    EXPECT_NE(criteriaError("a = 1;").find("alla posizione 6:"), std::string::npos);
    // Positions count characters, not bytes.
    EXPECT_NE(criteriaError("città = 'è' +").find("alla posizione 13:"), std::string::npos);
    EXPECT_EQ(criteriaError(""), inCriteria("", 1, value));
    // A control character in the text is shown as an escape, so the message stays on one line.
    EXPECT_EQ(criteriaError("a =\n"), inCriteria("a =\\n", 5, value));
}

TEST(SqlParse, MalformedStatementsAreRejected) {
    auto inStatement = [](const std::string& text, int position, const std::string& problem) {
        return "Errore di sintassi nell'istruzione SQL \"" + text + "\" alla posizione " +
               std::to_string(position) + ": " + problem;
    };
    EXPECT_EQ(selectError("Select From T"),
              inStatement("Select From T", 8, "si attendeva \"*\" o il nome di una colonna"));
    EXPECT_EQ(selectError("Select * T"), inStatement("Select * T", 10, "si attendeva \"From\""));
    EXPECT_EQ(selectError("Select * From"),
              inStatement("Select * From", 14, "si attendeva il nome di una tabella"));
    EXPECT_EQ(selectError("Select * From T In X"),
              inStatement("Select * From T In X", 20,
                          "si attendeva il nome di un file di database tra virgolette"));
    EXPECT_NE(selectError("Select * From T Order NumeroCamera").find("si attendeva \"By\""),
              std::string::npos);
    EXPECT_NE(selectError("Select * From T Where").find("si attendeva un valore"),
              std::string::npos);
    EXPECT_EQ(selectError("Select * From T; garbage"),
              inStatement("Select * From T; garbage", 18, "si attendeva la fine dell'istruzione"));
    EXPECT_NE(selectError("Select * From T Where a In (Select From U)").find("alla posizione 36:"),
              std::string::npos);
    EXPECT_NE(selectError("Select * From T Where a In (Select x From U").find("alla posizione 44:"),
              std::string::npos);
    EXPECT_EQ(
        selectError("Select * From T Order by a,"),
        inStatement("Select * From T Order by a,", 28, "si attendeva il nome di una colonna"));
    EXPECT_EQ(selectError("Select * From T"), "");
}

TEST(SqlParse, DeepNestingIsAnErrorNotACrash) {
    const std::string deep = std::string(5000, '(') + "a = 1" + std::string(5000, ')');
    EXPECT_NE(criteriaError(deep).find(": l'espressione ha più di 100 livelli di annidamento"),
              std::string::npos);
    std::string nots;
    for (int i = 0; i < 5000; ++i) {
        nots += "not ";
    }
    EXPECT_NE(criteriaError(nots + "a = 1").find("livelli di annidamento"), std::string::npos);
    const std::string fine = std::string(50, '(') + "a = 1" + std::string(50, ')');
    EXPECT_EQ(criteriaError(fine), "");
    // Long And chains nest the tree as deeply as parentheses do.
    auto chain = [](int terms) {
        std::string text = "a = 0";
        for (int i = 1; i < terms; ++i) {
            text += " and a = " + std::to_string(i);
        }
        return text;
    };
    EXPECT_EQ(criteriaError(chain(400)), "");
    EXPECT_NE(criteriaError(chain(5000)).find(": più di 1000 operatori"), std::string::npos);
}

TEST(SqlParse, LooksLikeSelectTellsStatementsFromTableNames) {
    EXPECT_TRUE(looksLikeSelect("Select * From T"));
    EXPECT_TRUE(looksLikeSelect("  SELECT\n* From T"));
    EXPECT_TRUE(looksLikeSelect("select*from T"));
    EXPECT_FALSE(looksLikeSelect("Scheda_Cliente"));
    EXPECT_FALSE(looksLikeSelect("SelectedRooms"));
    EXPECT_FALSE(looksLikeSelect("Select_Table"));
    EXPECT_FALSE(looksLikeSelect(""));
    EXPECT_FALSE(looksLikeSelect("Sel"));
}

}  // namespace
}  // namespace planora::db::sql
