#include "desk/plx_desk.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "board/desk_lists.h"
#include "db/access_readers.h"
#include "db/error.h"
#include "desk/entry_box.h"
#include "desk/list_box.h"
#include "dialog/failure_notice.h"
#include "dialog/msgbox_routine.h"
#include "files/station.h"
#include "messages/board_messages.h"

namespace planora::desk {

namespace {

using board::EntryField;
using board::FocusTarget;

constexpr std::int16_t kNotice = 48;
constexpr std::int16_t kPlainOk = 0;

struct DatabaseSpec {
    const char* file;
    const char* table;
};

// The databases kept open while the window lives, by index.
const std::array<DatabaseSpec, 3> kDatabases{{
    {"Tableau.mdb", "Tableau"},
    {"AnagraficaHotels.mdb", "AnagraficaHotels"},
    {"NumeriCamere.mdb", "NumeriCamere"},
}};
enum DatabaseIndex { kTableau = 0, kHotels = 1, kRooms = 2 };

QString qText(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

void fillList(ListBox* list, const std::vector<std::string>& items) {
    QStringList texts;
    for (const std::string& item : items) {
        texts << qText(item);
    }
    list->setItems(texts);
}

// The focus target that stands for an entry field, where there is one.
FocusTarget focusTargetOf(EntryField index) {
    switch (index) {
        case EntryField::FirstRoom:
            return FocusTarget::FirstRoom;
        case EntryField::LastRoom:
            return FocusTarget::LastRoom;
        case EntryField::ReferenceDate:
            return FocusTarget::ReferenceDate;
        case EntryField::Ditta:
            return FocusTarget::Ditta;
        case EntryField::SelectionDate:
            return FocusTarget::SelectionDate;
    }
    return FocusTarget::Stay;
}

// The warnings of a run, one a line (the dialog breaks lines at CR).
std::string joinedWarnings(const std::vector<std::string>& warnings) {
    std::string text;
    for (const std::string& warning : warnings) {
        text += (text.empty() ? "" : "\r") + warning;
    }
    return text;
}

}  // namespace

PlxDesk::PlxDesk(std::filesystem::path dataFolder, const board::Clock& clock, QWidget* parent)
    : QWidget(parent),
      dataFolder_(std::move(dataFolder)),
      clock_(clock),
      accessReaders_(std::make_shared<db::AccessReaders>()) {
    buildControls();
    connectControls();
    openDatabases();
}

PlxDesk::~PlxDesk() = default;

void PlxDesk::openDatabases() {
    for (std::size_t i = 0; i < kDatabases.size(); ++i) {
        databases_[i] = db::Database::open(dataFolder_, kDatabases[i].file, accessReaders_);
        records_[i] = databases_[i].openRecordset(kDatabases[i].table);
    }
}

void PlxDesk::connectControls() {
    // No exception may leave a handler: Qt's event loop would end the program.
    connect(combo_[0], &QComboBox::activated, this,
            [this](int index) { whileDatabasesHold([&] { return hotelChosen(index); }); });
    connect(combo_[1], &QComboBox::activated, this,
            [this](int index) { whileDatabasesHold([&] { return layoutChosen(index); }); });
    for (std::size_t i = 0; i < text_.size(); ++i) {
        const auto index = static_cast<EntryField>(i);
        connect(text_[i], &QLineEdit::returnPressed, this,
                [this, index] { dialog::showingFailures([&] { enterPressed(index); }); });
    }
    connect(tasto_[0], &QPushButton::clicked, this,
            [this] { dialog::showingFailures([this] { stampa(); }); });
    connect(tasto_[1], &QPushButton::clicked, this, &QWidget::close);
}

QLineEdit* PlxDesk::field(EntryField index) const {
    return text_.at(static_cast<std::size_t>(index));
}

board::EntryTexts PlxDesk::entryTexts() const {
    board::EntryTexts texts;
    for (std::size_t i = 0; i < text_.size(); ++i) {
        texts[i] = text_[i]->text().toStdString();
    }
    return texts;
}

bool PlxDesk::activate() {
    return whileDatabasesHold([this] {
        fillList(combo_[0], {});
        fillList(combo_[1], {});
        field(EntryField::ReferenceDate)->setText(qText(board::todayText(clock_)));
        const auto hotels = board::hotelItems(records_[kHotels]);
        if (hotels.empty()) {
            closeForWant(board::noHotelMessage());
            return false;
        }
        fillList(combo_[0], hotels);
        if (!hotelChosen(0)) {
            return false;
        }
        field(EntryField::FirstRoom)->setFocus();
        return true;
    });
}

bool PlxDesk::whileDatabasesHold(const std::function<bool()>& step) {
    try {
        return step();
    } catch (...) {
        // The lists cannot be trusted any more: the window closes, as it does for want of data.
        dialog::showCurrentFailure();
        exitStatus_ = 1;
        close();
        return false;
    }
}

// Selecting an item, by the user or by program, runs these two handlers.
bool PlxDesk::hotelChosen(int index) {
    {
        const QSignalBlocker blocker(combo_[0]);
        combo_[0]->setCurrentIndex(index);
    }
    hotel_ = board::itemCode(combo_[0]->itemText(index).toStdString());
    const auto layouts = board::layoutItems(records_[kTableau], hotel_);
    fillList(combo_[1], layouts);
    if (layouts.empty()) {
        closeForWant(board::noLayoutMessage(hotel_));
        return false;
    }
    return layoutChosen(0);
}

bool PlxDesk::layoutChosen(int index) {
    {
        const QSignalBlocker blocker(combo_[1]);
        combo_[1]->setCurrentIndex(index);
    }
    tableau_ = board::itemCode(combo_[1]->itemText(index).toStdString());
    const board::RoomRange range =
        board::defaultRoomRange(records_[kRooms], dataFolder_, hotel_, tableau_);
    field(EntryField::FirstRoom)->setText(qText(range.first));
    field(EntryField::LastRoom)->setText(qText(range.last));
    tasto_[0]->setFocus();
    return true;
}

void PlxDesk::closeForWant(const board::Message& message) {
    dialog::MostraMessaggio(message);
    exitStatus_ = 1;
    close();
}

void PlxDesk::enterPressed(EntryField index) {
    QLineEdit* box = field(index);
    const board::EnterOutcome outcome = board::onEnter(index, entryTexts(), clock_, giorniMese_);
    box->setText(qText(outcome.text));
    if (outcome.message) {
        dialog::MostraMessaggio(*outcome.message);
    }
    if (outcome.afterMessage) {
        box->setText(qText(*outcome.afterMessage));
    }
    // The focus is set even where it stays: a notice has had it meanwhile.
    moveFocus(outcome.focus == FocusTarget::Stay ? focusTargetOf(index) : outcome.focus);
}

void PlxDesk::moveFocus(FocusTarget target) {
    switch (target) {
        case FocusTarget::Stay:
            return;
        case FocusTarget::FirstRoom:
            return field(EntryField::FirstRoom)->setFocus();
        case FocusTarget::LastRoom:
            return field(EntryField::LastRoom)->setFocus();
        case FocusTarget::ReferenceDate:
            return field(EntryField::ReferenceDate)->setFocus();
        case FocusTarget::Ditta:
            return field(EntryField::Ditta)->setFocus();
        case FocusTarget::SelectionDate:
            return field(EntryField::SelectionDate)->setFocus();
        case FocusTarget::Stampa:
            return tasto_[0]->setFocus();
    }
}

void PlxDesk::stampa() {
    const auto text = [this](EntryField index) { return field(index)->text().toStdString(); };
    const board::RequestEntry entry{hotel_,
                                    tableau_,
                                    text(EntryField::FirstRoom),
                                    text(EntryField::LastRoom),
                                    text(EntryField::ReferenceDate),
                                    chk_->isChecked(),
                                    text(EntryField::SelectionDate),
                                    text(EntryField::Ditta)};
    auto outcome = board::onStampa(entry, clock_, giorniMese_);
    if (const auto* rejection = std::get_if<board::StampaRejection>(&outcome)) {
        dialog::MostraMessaggio(rejection->message);
        if (rejection->referenceDate) {
            field(EntryField::ReferenceDate)->setText(qText(*rejection->referenceDate));
        }
        moveFocus(rejection->focus);
        return;
    }
    buildBoard(std::get<board::BoardRequest>(outcome));
}

void PlxDesk::buildBoard(const board::BoardRequest& request) {
    const board::BoardOptions options{opt_[0]->isChecked(), chk1_->isChecked(),
                                      field(EntryField::Ditta)->text().toStdString()};
    board::BoardResult result;
    const bool built = dialog::showingFailures([&] {
        const board::BoardContext context{dataFolder_, files::stationCode(), &clock_};
        result = board::CreaTableau(request, options, context);
    });
    if (!built) {
        return;
    }
    if (!result.warnings.empty()) {
        dialog::MostraMessaggio(joinedWarnings(result.warnings), kNotice, msg::warningTitle());
    }
    if (afterBoard_) {
        dialog::showingFailures([&] { afterBoard_(*this, result); });
    } else {
        dialog::MostraMessaggio(msg::boardReady(result.file), kPlainOk, msg::boardReadyTitle());
    }
    if (!unloaded_) {
        // Back in front after the notices: a second dialog may have found no active window to
        // return to.
        activateWindow();
        activate();
    }
}

void PlxDesk::closeEvent(QCloseEvent* event) {
    if (!unloaded_) {
        unloaded_ = true;
        // The program ends after this whatever happens: a failure to close is shown, not thrown.
        dialog::showingFailures([this] {
            for (db::Database& database : databases_) {
                database.close();
            }
        });
        emit unloaded();
    }
    QWidget::closeEvent(event);
}

}  // namespace planora::desk
