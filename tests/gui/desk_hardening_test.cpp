// The main window under failures and long names: whatever a board run throws is shown in the
// message dialog and the window stays usable; warnings of a run are shown after it; long names
// in the lists are cut with an ellipsis and shown whole as a tooltip.
#include <QCheckBox>
#include <QHelpEvent>
#include <QToolTip>
#include <filesystem>
#include <new>

#include "desk_fixture.h"
#include "dialog_driver.h"

namespace planora::desk {
namespace {

using board::EntryField;
using testing::DialogDriver;

const char* const kLongHotel = "HOTEL BELVEDERE SUL LAGO DI GARDA E DELLE DOLOMITI DI BRENTA";

// A clock that fails on demand with the exception the test gives it.
class FailingClock final : public board::Clock {
  public:
    board::LocalDateTime now() const override {
        if (failure_) {
            std::rethrow_exception(failure_);
        }
        return {2026, 12, 8, 10, 0, 0};
    }
    void failWith(std::exception_ptr failure) { failure_ = std::move(failure); }

  private:
    std::exception_ptr failure_;
};

void writeHotel(const std::filesystem::path& folder) {
    demo::HotelData data(folder);
    data.insert("TipiCamere", "TipiCamere", {{"Sigla", "DOP"}, {"Tipologia", "C"}});
    data.insert("AnagraficaHotels", "AnagraficaHotels",
                {{"Numero", 1}, {"RagioneSociale", kLongHotel}});
    data.insert("Tableau", "Tableau",
                {{"NumeroHotel", 1}, {"Codice", 1}, {"Descrizione", "PIANO"}});
    data.insert("Arrangiamenti", "NomiArrangiamenti",
                {{"NumeroHotel", 1}, {"Sigla", "HB"}, {"Tipo", "M"}});
    testing::addRoom(data, 1, 1, "101", "DOP");
    data.insert("Scheda_Cliente", "Scheda_Cliente",
                {{"NumeroHotel", 1},
                 {"NumeroCamera", "101"},
                 {"NumeroProgressivo", 1001},
                 {"NumeroComponente", 1},
                 {"NomeCliente", "ROSSI"},
                 {"DataArrivo", "20261205"},
                 {"DataPartenza", "20261210"}});
    data.insert("Arrangiamento", "Arrangiamento",
                {{"NumeroHotel", 1},
                 {"CodiceCliente", 1001},
                 {"DataInizio", "20261201"},
                 {"DataFine", "20261220"},
                 {"Arrangiamento", "HB"},
                 {"ImportoTotale", db::Value::real(123456.78)}});
    data.finish();
}

// The fixture's window over the hotel above, with a clock that fails on demand.
class DeskHardeningTest : public testing::DeskTest {
  protected:
    void SetUp() override { writeHotel(folder_.path()); }
    std::unique_ptr<PlxDesk> openDesk() { return DeskTest::openDesk(&failing_); }
    std::filesystem::path boardFile() const { return folder_.path() / "FD"; }

    FailingClock failing_;
};

TEST_F(DeskHardeningTest, FailuresOfAnyKindInStampaAreShownAndTheWindowGoesOn) {
    auto window = openDesk();
    const std::vector<std::pair<std::exception_ptr, QString>> failures = {
        {std::make_exception_ptr(std::bad_alloc()),
         "Memoria insufficiente: l'operazione non è stata completata"},
        {std::make_exception_ptr(std::filesystem::filesystem_error(
             "write", std::filesystem::path("/dati/FD"),
             std::make_error_code(std::errc::no_space_on_device))),
         "Operazione non riuscita sul file o sulla cartella '/dati/FD': il disco è pieno"},
        {std::make_exception_ptr(std::out_of_range("vector::at")), "Errore imprevisto: vector::at"},
    };
    for (const auto& [failure, text] : failures) {
        failing_.failWith(failure);
        DialogDriver driver;
        pressStampa(*window);
        ASSERT_EQ(driver.shown().size(), 1u) << text.toStdString();
        EXPECT_EQ(driver.shown()[0].title, "Errore");
        EXPECT_EQ(driver.shown()[0].text, text);
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(std::filesystem::exists(boardFile()));
    }
    // The same window builds the board once nothing fails any more.
    failing_.failWith(nullptr);
    DialogDriver driver;
    pressStampa(*window);
    EXPECT_EQ(driver.titles(), std::vector<QString>{"Tableau"});
    EXPECT_TRUE(std::filesystem::exists(boardFile()));
}

TEST_F(DeskHardeningTest, AFailureOnEnterIsShownAndTheFieldStaysUsable) {
    auto window = openDesk();
    failing_.failWith(std::make_exception_ptr(std::bad_alloc()));
    DialogDriver driver;
    QLineEdit* date = window->field(EntryField::ReferenceDate);
    date->setFocus();
    date->setText("311326");  // six digits: the century is read from the clock
    QTest::keyClick(date, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_EQ(driver.titles(), std::vector<QString>{"Errore"});
    EXPECT_TRUE(window->isVisible());
    failing_.failWith(nullptr);
    QTest::keyClick(date, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(driver.titles().back(), "Data errata!");
}

TEST_F(DeskHardeningTest, WarningsOfTheRunAreShownBeforeTheBoardIsHandedOn) {
    auto window = openDesk();
    window->arrangementBox()->setChecked(true);
    DialogDriver driver;
    pressStampa(*window);
    ASSERT_EQ(driver.titles(), (std::vector<QString>{"Attenzione", "Tableau"}));
    EXPECT_EQ(driver.shown()[0].text,
              "Camera 101: l'importo 123.456,78 non entra nelle 9 colonne del tableau ed è "
              "indicato con #########");
}

TEST_F(DeskHardeningTest, ALongHotelNameIsCutWithAnEllipsisAndWholeInItsTooltip) {
    auto window = openDesk();
    ListBox* hotels = window->hotelList();
    const QString whole = QString("  1 ") + kLongHotel;
    ASSERT_EQ(hotels->currentText(), whole);
    const QString shown = hotels->shownText();
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    EXPECT_TRUE(whole.startsWith(shown.chopped(1)));
    EXPECT_LE(hotels->fontMetrics().horizontalAdvance(shown), hotels->width());
    EXPECT_EQ(hotels->itemData(0, Qt::ToolTipRole).toString(), whole);

    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), hotels->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(hotels, &help);
    EXPECT_EQ(QToolTip::text(), whole);
    QToolTip::hideText();
    // A name that fits is drawn whole.
    EXPECT_EQ(window->layoutList()->shownText(), "  1 PIANO");
}

}  // namespace
}  // namespace planora::desk
