#include "platform/qt/drop_down_list.h"

#include <QAbstractItemView>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>

namespace vostrel::platform::qt {

DropDownList::DropDownList(const QStringList& items, const QString& chosen, QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setFocusPolicy(Qt::StrongFocus); // not QComboBox's wheel focus: see wheelEvent()
    addItems(items);
    choose(chosen);
    // activated() is sent only for the operator's picks, the same item again included.
    connect(this, qOverload<int>(&QComboBox::activated), this, [this](int index) { taken(index); });
}

void DropDownList::choose(const QString& text) {
    setCurrentIndex(findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    known_ = currentIndex();
}

void DropDownList::replaceItems(const QStringList& items) {
    const QString before = chosenText();
    clear();
    addItems(items);
    choose(before);
}

void DropDownList::taken(int index) {
    if (index == known_) return;
    known_ = index;
    if (picked_) picked_();
}

void DropDownList::wheelEvent(QWheelEvent* event) {
    if (hasFocus()) {
        QComboBox::wheelEvent(event);
    } else {
        event->ignore();
    }
}

void DropDownList::showPopup() {
    QAbstractItemView* list = view();
    // Every item whole: as wide as the item delegate asks for the widest one (the text and the
    // style's margins around it), with room for a scroll bar should the screen be too low.
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                          style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list));
    setMaxVisibleItems(std::max(1, count()));
    QComboBox::showPopup();
}

} // namespace vostrel::platform::qt
