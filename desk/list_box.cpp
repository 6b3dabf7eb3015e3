#include "desk/list_box.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QSignalBlocker>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QToolTip>

namespace planora::desk {

ListBox::ListBox(QWidget* parent) : QComboBox(parent) {
    view()->setTextElideMode(Qt::ElideRight);
}

void ListBox::setItems(const QStringList& items) {
    const QSignalBlocker blocker(this);
    clear();
    for (int i = 0; i < items.size(); ++i) {
        addItem(items[i]);
        setItemData(i, items[i], Qt::ToolTipRole);
    }
}

QString ListBox::shownText() const {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    // The label is drawn one pixel in from each side of the field.
    return fontMetrics().elidedText(currentText(), Qt::ElideRight, field.width() - 2);
}

void ListBox::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    option.currentText = shownText();
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

bool ListBox::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && currentIndex() >= 0) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), currentText(), this);
        return true;
    }
    return QComboBox::event(event);
}

}  // namespace planora::desk
