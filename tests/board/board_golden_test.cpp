// Whole board files of the test hotels, compared byte for byte with the expected files: built
// from the SQLite files and from their Access copies.

#include <gtest/gtest.h>

#include <memory>

#include "board/builder.h"
#include "tests/board/board_fixture.h"

namespace planora::boardtest {
namespace {

class BoardGoldenTest : public TestHotelSuiteOf<::testing::TestWithParam<DataFormat>> {
  protected:
    static const std::filesystem::path& folder() { return TestHotelSuiteOf::folder(GetParam()); }

    board::BoardResult run(const board::BoardRequest& request,
                           const board::BoardOptions& options = {}) {
        return board::CreaTableau(request, options, {folder(), "", &testClock()});
    }

    void expectBoard(const std::string& golden, const board::BoardRequest& request,
                     const board::BoardOptions& options = {}) {
        const board::BoardResult result = run(request, options);
        EXPECT_EQ(result.file, folder() / "FD");
        EXPECT_EQ(readBytes(result.file), goldenBytes(golden)) << "golden file " << golden;
    }

    static board::BoardRequest pastRequest() {
        board::BoardRequest request = dayRequest();
        request.referenceDate = "01/11/2026";
        return request;
    }
};

TEST_P(BoardGoldenTest, DayBoardShowsGuestsReservationsAndHistoryInTextOrder) {
    expectBoard("day", dayRequest());
}

TEST_P(BoardGoldenTest, RangeFromTenToNineIsTheSameTextRange) {
    board::BoardRequest request = dayRequest();
    request.firstRoom = "10";
    request.lastRoom = "9";
    expectBoard("day", request);
}

TEST_P(BoardGoldenTest, AmountsReplaceNotesWithAmountAndAgency) {
    board::BoardRequest request = dayRequest();
    request.addArrangement = 1;
    expectBoard("day_amounts", request);
}

TEST_P(BoardGoldenTest, AnyNonZeroSwitchMeansAmounts) {
    board::BoardRequest request = dayRequest();
    request.addArrangement = -1;
    expectBoard("day_amounts", request);
}

TEST_P(BoardGoldenTest, ArrivalsOfTheSelectionDate) {
    board::BoardRequest request = dayRequest();
    request.selectionDate = "08122026";
    expectBoard("arrivals", request, {.arrivi = true, .perDitta = false, .ditta = ""});
}

TEST_P(BoardGoldenTest, DeparturesUseTheRealDepartureOfHistoryCards) {
    board::BoardRequest request = dayRequest();
    request.selectionDate = "08/12/2026";
    expectBoard("departures", request, {.arrivi = false, .perDitta = false, .ditta = ""});
}

TEST_P(BoardGoldenTest, InvalidSelectionDateMeansDayMode) {
    board::BoardRequest request = dayRequest();
    request.selectionDate = "31/02/2026";
    expectBoard("day", request, {.arrivi = false, .perDitta = false, .ditta = ""});
}

TEST_P(BoardGoldenTest, CompanyFilterKeepsMatchingHeadsAndTheirPartyMembers) {
    expectBoard("day_company", dayRequest(),
                {.arrivi = true, .perDitta = true, .ditta = "  acme "});
}

TEST_P(BoardGoldenTest, CompanyTextIsIgnoredWithoutPerDitta) {
    expectBoard("day", dayRequest(), {.arrivi = true, .perDitta = false, .ditta = "acme"});
}

TEST_P(BoardGoldenTest, PastDayComesFromHistoryCards) {
    expectBoard("past", pastRequest());
}

TEST_P(BoardGoldenTest, PastDayAmountsAreFollowedByTheNotes) {
    board::BoardRequest request = pastRequest();
    request.addArrangement = 1;
    expectBoard("past_amounts", request);
}

TEST_P(BoardGoldenTest, ComposerCompanyFilterStartsWithoutALastRoom) {
    expectBoard("past_company", pastRequest(),
                {.arrivi = true, .perDitta = true, .ditta = "DELTA"});
}

TEST_P(BoardGoldenTest, RangeWithoutRoomsGivesAnEmptyBoard) {
    board::BoardRequest request = dayRequest();
    request.firstRoom = "2";
    request.lastRoom = "8";
    expectBoard("empty_range", request);
}

TEST_P(BoardGoldenTest, HotelNotFound) {
    board::BoardRequest request = dayRequest();
    request.hotel = 5;
    expectBoard("no_hotel", request);
}

TEST_P(BoardGoldenTest, LayoutNotFound) {
    board::BoardRequest request = dayRequest();
    request.tableau = 9;
    expectBoard("no_layout", request);
}

TEST_P(BoardGoldenTest, ApostrophesInRoomsAndCompanies) {
    board::BoardRequest request = dayRequest();
    request.hotel = 3;
    request.firstRoom = "1";
    request.lastRoom = "3";
    expectBoard("apostrophe", request, {.arrivi = true, .perDitta = true, .ditta = "L'AL"});
}

TEST_P(BoardGoldenTest, CodesAndRoomsAreComparedByCharacterCodes) {
    board::BoardRequest request = dayRequest();
    request.hotel = 6;
    request.firstRoom = "B0";
    request.lastRoom = "B9";
    expectBoard("case", request);
}

TEST_P(BoardGoldenTest, TotalsAreReturnedAsWritten) {
    const board::Totals totals = run(dayRequest()).totals;
    EXPECT_EQ(totals.arrivi, 3);
    EXPECT_EQ(totals.presenze, 15);
    EXPECT_EQ(totals.camPresenti, 3);
    EXPECT_EQ(totals.generale, totals.pn + totals.bb + totals.hb + totals.fb);
    EXPECT_EQ(totals.generale, 18);
}

TEST_P(BoardGoldenTest, EveryRunStartsFromZero) {
    run(dayRequest());
    const board::BoardResult second = run(dayRequest());
    EXPECT_EQ(second.totals.generale, 18);
    EXPECT_EQ(readBytes(second.file), goldenBytes("day"));
}

INSTANTIATE_TEST_SUITE_P(BothFormats, BoardGoldenTest,
                         ::testing::Values(DataFormat::Sqlite, DataFormat::Mdb), formatName);

}  // namespace
}  // namespace planora::boardtest
