#pragma once
// A closed drop-down list on QComboBox. QComboBox reports a pick of the item already chosen as
// well, and its other signals fire for the program's own changes too; here only the operator's
// pick of another item is reported. The open list is as wide as its widest item needs and tall
// enough for every item, as far as the screen allows, so no subject name is cut or scrolled
// away, whatever the closed field's width.
#include <QComboBox>
#include <QStringList>
#include <functional>

namespace vostrel::platform::qt {

class DropDownList final : public QComboBox {
public:
    // chosen: the text of the item chosen at first (none when no item has it).
    DropDownList(const QStringList& items, const QString& chosen, QWidget* parent);

    // Runs when the operator picks an item other than the chosen one (mouse, keyboard or wheel).
    void onPicked(std::function<void()> picked) { picked_ = std::move(picked); }

    QString chosenText() const { return currentIndex() < 0 ? QString() : currentText(); }
    // Chooses the item with exactly that text, or none; never reported as a pick.
    void choose(const QString& text);
    // New items; the chosen text stays chosen when it is still among them. Never reported.
    void replaceItems(const QStringList& items);

    void showPopup() override;

protected:
    // The wheel steps through the items only in the list that has the keyboard focus, as on
    // Windows: a wheel turned while the mouse merely passes over a list changes no subject.
    void wheelEvent(QWheelEvent* event) override;

private:
    void taken(int index);

    int known_ = -1; // the chosen index as last reported or set by the program
    std::function<void()> picked_;
};

} // namespace vostrel::platform::qt
