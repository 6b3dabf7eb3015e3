#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

#include "board/builder.h"
#include "board/clock.h"
#include "board/entry_rules.h"
#include "board/helpers.h"
#include "db/database.h"
#include "db/recordset.h"
#include "desk/list_box.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace planora::desk {

class EntryBox;

// The main window: the hotel and layout lists, the board request's entry fields and the
// options the board run reads, "&Stampa" and "&Esci". It keeps the Tableau, AnagraficaHotels
// and NumeriCamere databases open while it lives.
class PlxDesk : public QWidget {
    Q_OBJECT

  public:
    // What follows a board run that succeeded; by default a notice naming the board file.
    using AfterBoard = std::function<void(PlxDesk&, const board::BoardResult&)>;

    // Opens the three databases of the data folder; throws planora::Error naming the file
    // and the folder when one cannot be opened.
    PlxDesk(std::filesystem::path dataFolder, const board::Clock& clock, QWidget* parent = nullptr);
    ~PlxDesk() override;

    // Refills the lists, selects the first hotel and layout, proposes the room range and today's
    // date. False when the window had to close for want of a hotel or a layout.
    bool activate();

    void setAfterBoard(AfterBoard afterBoard) { afterBoard_ = std::move(afterBoard); }
    // 0, or 1 once the window closed for want of data or after a failure of the databases.
    int exitStatus() const { return exitStatus_; }

    std::int16_t hotelNumber() const { return hotel_; }
    std::int16_t tableauNumber() const { return tableau_; }

    ListBox* hotelList() const { return combo_[0]; }
    ListBox* layoutList() const { return combo_[1]; }
    QLineEdit* field(board::EntryField index) const;
    QCheckBox* arrangementBox() const { return chk_; }
    QCheckBox* perDittaBox() const { return chk1_; }
    QRadioButton* option(int index) const { return opt_.at(static_cast<std::size_t>(index)); }
    QPushButton* stampaButton() const { return tasto_[0]; }
    QPushButton* esciButton() const { return tasto_[1]; }

  signals:
    // The window has been closed and its databases with it.
    void unloaded();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void buildControls();
    void connectControls();
    void openDatabases();

    // Runs a step that reads the databases; a failure is shown and closes the window.
    bool whileDatabasesHold(const std::function<bool()>& step);
    bool hotelChosen(int index);
    bool layoutChosen(int index);
    void enterPressed(board::EntryField index);
    void stampa();
    void buildBoard(const board::BoardRequest& request);
    void moveFocus(board::FocusTarget target);
    void closeForWant(const board::Message& message);
    board::EntryTexts entryTexts() const;

    std::filesystem::path dataFolder_;
    const board::Clock& clock_;
    board::GiorniMese giorniMese_;
    // One reader program serves the window's Access files, which are read once, when it opens.
    std::shared_ptr<db::AccessReaders> accessReaders_;
    std::array<db::Database, 3> databases_;  // Tableau, AnagraficaHotels, NumeriCamere
    std::array<db::RecordSet, 3> records_;
    std::int16_t hotel_ = 0;
    std::int16_t tableau_ = 0;
    int exitStatus_ = 0;
    bool unloaded_ = false;
    AfterBoard afterBoard_;

    std::array<QLabel*, 6> label_{};
    std::array<ListBox*, 2> combo_{};
    std::array<EntryBox*, 5> text_{};
    QCheckBox* chk_ = nullptr;
    QCheckBox* chk1_ = nullptr;
    std::array<QRadioButton*, 2> opt_{};
    std::array<QPushButton*, 2> tasto_{};
};

}  // namespace planora::desk
