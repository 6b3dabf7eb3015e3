// The main window's look: caption, size, controls with their captions, fonts, colours, places
// and the tab order.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "desk_fixture.h"
#include "screenshot.h"

namespace planora::desk {
namespace {

using board::EntryField;

QRect twips(int left, int top, int width, int height) {
    auto px = [](int t) { return (t + 7) / 15; };
    return QRect(px(left), px(top), px(width), px(height));
}

QLabel* labelWithCaption(QWidget& window, const QString& caption) {
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text() == caption) {
            return label;
        }
    }
    return nullptr;
}

void expectFont(const QWidget* widget, const QString& family, double points, bool bold) {
    EXPECT_EQ(widget->font().families().value(0), family) << widget->metaObject()->className();
    EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), points);
    EXPECT_EQ(widget->font().bold(), bold);
}

class DeskControlsTest : public testing::DeskTest {};

TEST_F(DeskControlsTest, FixedWindowCaptionedPlanoraNotOnTopWithoutMinimiseOrMaximise) {
    auto window = openDesk();
    EXPECT_EQ(window->windowTitle(), "Planora");
    EXPECT_EQ(window->size(), QSize(259, 383));  // 3885 x 5745 twips
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    const Qt::WindowFlags flags = window->windowFlags();
    // The clerk must be able to bring the booking program in front of it.
    EXPECT_FALSE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xFF));
}

TEST_F(DeskControlsTest, LabelsInCorbelAtTheirPlaces) {
    auto window = openDesk();
    const std::vector<std::pair<QString, QRect>> labels{
        {"N. Hotel ", twips(120, 150, 1095, 255)},
        {"N. Tableau ", twips(120, 510, 1095, 255)},
        {"Dalla Camera", twips(120, 1080, 1095, 255)},
        {"Alla Camera ", twips(120, 1680, 1095, 255)},
        {"Data riferim. ", twips(120, 2280, 1095, 255)},
        {"Data ", twips(1680, 4080, 615, 255)}};
    for (const auto& [caption, place] : labels) {
        QLabel* label = labelWithCaption(*window, caption);
        ASSERT_NE(label, nullptr) << caption.toStdString();
        EXPECT_EQ(label->geometry(), place) << caption.toStdString();
        expectFont(label, "Corbel", 9.75, false);
    }
}

TEST_F(DeskControlsTest, EntryFieldsWithLengthsAlignmentFontAndPlace) {
    auto window = openDesk();
    struct Expected {
        EntryField index;
        int maxLength;
        Qt::Alignment horizontal;
        QRect place;
    };
    const Expected fields[] = {
        {EntryField::FirstRoom, 6, Qt::AlignHCenter, twips(1560, 1080, 972, 288)},
        {EntryField::LastRoom, 6, Qt::AlignHCenter, twips(1560, 1680, 972, 288)},
        {EntryField::ReferenceDate, 10, Qt::AlignHCenter, twips(1560, 2280, 1335, 288)},
        {EntryField::Ditta, 40, Qt::AlignLeft, twips(1560, 3360, 2052, 288)},
        {EntryField::SelectionDate, 40, Qt::AlignHCenter, twips(2400, 4080, 1212, 288)},
    };
    for (const Expected& e : fields) {
        QLineEdit* box = window->field(e.index);
        const int index = static_cast<int>(e.index);
        EXPECT_EQ(box->maxLength(), e.maxLength) << index;
        EXPECT_EQ(box->alignment() & Qt::AlignHorizontal_Mask, e.horizontal) << index;
        EXPECT_EQ(box->geometry(), e.place) << index;
        expectFont(box, "Arial", 9.75, false);
    }
}

TEST_F(DeskControlsTest, ListsChecksOptionsAndButtons) {
    auto window = openDesk();
    for (QComboBox* list : {window->hotelList(), window->layoutList()}) {
        EXPECT_FALSE(list->isEditable());
        expectFont(list, "Arial", 8.25, true);
        EXPECT_EQ(list->palette().color(QPalette::Button), QColor(0xFF, 0xE0, 0xC0));
    }
    EXPECT_EQ(window->hotelList()->geometry(), twips(1440, 120, 2295, 330));
    EXPECT_EQ(window->layoutList()->geometry(), twips(1440, 510, 2295, 330));

    EXPECT_EQ(window->arrangementBox()->text(), "Aggiungere arrangiamento");
    EXPECT_EQ(window->arrangementBox()->geometry(), twips(120, 2760, 3135, 255));
    EXPECT_FALSE(window->arrangementBox()->isChecked());
    EXPECT_EQ(window->perDittaBox()->text(), "per Ditta");
    EXPECT_EQ(window->perDittaBox()->geometry(), twips(120, 3360, 1095, 255));
    EXPECT_FALSE(window->perDittaBox()->isChecked());
    EXPECT_EQ(window->option(0)->text(), "Arrivi");
    EXPECT_EQ(window->option(0)->geometry(), twips(120, 3960, 735, 255));
    EXPECT_TRUE(window->option(0)->isChecked());
    EXPECT_EQ(window->option(1)->text(), "Partenze");
    EXPECT_EQ(window->option(1)->geometry(), twips(120, 4200, 1215, 255));
    EXPECT_FALSE(window->option(1)->isChecked());
    for (QWidget* w :
         std::initializer_list<QWidget*>{window->arrangementBox(), window->perDittaBox(),
                                         window->option(0), window->option(1)}) {
        expectFont(w, "Corbel", 9.75, false);
    }

    EXPECT_EQ(window->stampaButton()->text(), "&Stampa");
    EXPECT_EQ(window->stampaButton()->geometry(), twips(120, 4560, 1572, 1095));
    expectFont(window->stampaButton(), "Corbel", 12, false);
    EXPECT_EQ(window->esciButton()->text(), "&Esci");
    EXPECT_EQ(window->esciButton()->geometry(), twips(2160, 4560, 1572, 1095));
    expectFont(window->esciButton(), "Corbel", 12, true);
    EXPECT_FALSE(window->esciButton()->icon().isNull());
    EXPECT_EQ(window->esciButton()->palette().color(QPalette::Button), QColor(Qt::white));
}

TEST_F(DeskControlsTest, TabOrderRunsThroughTheFieldsButtonsThenChecksAndOptions) {
    auto window = openDesk();
    const std::vector<QWidget*> expected{window->field(EntryField::FirstRoom),
                                         window->field(EntryField::LastRoom),
                                         window->field(EntryField::ReferenceDate),
                                         window->stampaButton(),
                                         window->esciButton(),
                                         window->field(EntryField::SelectionDate),
                                         window->field(EntryField::Ditta),
                                         window->arrangementBox(),
                                         window->perDittaBox(),
                                         window->option(0),
                                         window->option(1)};
    std::vector<QWidget*> order{expected.front()};
    for (QWidget* w = expected.front()->nextInFocusChain(); order.size() < expected.size();
         w = w->nextInFocusChain()) {
        if (std::find(expected.begin(), expected.end(), w) != expected.end()) {
            order.push_back(w);
        }
    }
    EXPECT_EQ(order, expected);
}

TEST_F(DeskControlsTest, PictureOfTheWindow) {
    auto window = openDesk();
    EXPECT_TRUE(testing::saveScreenshot(*window, "plxdesk"));
}

}  // namespace
}  // namespace planora::desk
