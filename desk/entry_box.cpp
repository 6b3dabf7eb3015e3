#include "desk/entry_box.h"

#include <QTimer>

namespace planora::desk {

void EntryBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // After the event: a mouse press that gave the focus would otherwise place the cursor
    // and undo the selection.
    QTimer::singleShot(0, this, &QLineEdit::selectAll);
}

}  // namespace planora::desk
