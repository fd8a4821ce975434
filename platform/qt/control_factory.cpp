#include "platform/qt/control_factory.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "platform/qt/cjk_font.h"
#include "platform/qt/drop_down_list.h"
#include "platform/qt/limited_line_edit.h"
#include "platform/qt/picture_box.h"

namespace vostrel::platform::qt {

namespace {

QWidget* makeButton(const ControlDescription& described, QWidget* parent) {
    auto* button = new QPushButton(QString::fromStdString(described.text), parent);
    button->setAutoDefault(false); // Enter neither presses it nor moves the focus
    button->setDefault(false);
    return button;
}

QWidget* makeEditBox(const ControlDescription& described, QWidget* parent) {
    auto* edit = new LimitedLineEdit(described.maxChars, parent);
    edit->setText(QString::fromStdString(described.text));
    edit->setAlignment(Qt::AlignCenter);
    edit->setFrame(true); // sunken edge
    return edit;
}

QWidget* makeCheckBox(const ControlDescription& described, QWidget* parent) {
    return new QCheckBox(QString::fromStdString(described.text), parent); // never ticked at start
}

QWidget* makeGroupBox(const ControlDescription& described, QWidget* parent) {
    auto* group = new QGroupBox(QString::fromStdString(described.text), parent);
    group->setAlignment(Qt::AlignLeft);
    group->setFocusPolicy(Qt::NoFocus);
    return group;
}

QWidget* makeTransparentLabel(const ControlDescription& described, QWidget* parent) {
    auto* label = new QLabel(parent);
    // Plain text: '&' is shown as it is, nothing is read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setText(QString::fromStdString(described.text));
    // No background of its own: Qt paints the parent first wherever the label draws nothing,
    // which also wipes the old text on every change.
    label->setAutoFillBackground(false);
    label->setAttribute(Qt::WA_NoSystemBackground, false);
    label->setMargin(0);
    label->setIndent(0);
    label->setWordWrap(described.wordWrap);
    Qt::Alignment align = described.align == HorizontalAlign::Centre ? Qt::AlignHCenter : Qt::AlignLeft;
    align |= (described.verticalCentre && !described.wordWrap) ? Qt::AlignVCenter : Qt::AlignTop;
    label->setAlignment(align);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kLabelTextColour);
    label->setPalette(palette);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

QWidget* makeDropDownList(const ControlDescription& described, QWidget* parent) {
    QStringList items;
    for (const std::string& item : described.items) items << QString::fromStdString(item);
    return new DropDownList(items, QString::fromStdString(described.text), parent);
}

} // namespace

QWidget* makeControlWidget(const ControlDescription& described, QWidget* parent) {
    QWidget* widget = nullptr;
    switch (described.kind) {
    case ControlKind::Button: widget = makeButton(described, parent); break;
    case ControlKind::EditBox: widget = makeEditBox(described, parent); break;
    case ControlKind::CheckBox: widget = makeCheckBox(described, parent); break;
    case ControlKind::GroupBox: widget = makeGroupBox(described, parent); break;
    case ControlKind::TransparentLabel: widget = makeTransparentLabel(described, parent); break;
    case ControlKind::PictureBox:
        widget = new PictureBox(described.jpeg, parent);
        widget->setFocusPolicy(Qt::NoFocus);
        break;
    case ControlKind::DropDownList: widget = makeDropDownList(described, parent); break;
    case ControlKind::Timer: return nullptr;
    }
    widget->setObjectName(QString::fromStdString(described.name));
    widget->setFont(fontFor(described.font));
    widget->setGeometry(described.left, described.top, described.width, described.height);
    widget->setVisible(described.visible);
    return widget;
}

QString widgetText(const QWidget* widget) {
    if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
    if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (auto* group = qobject_cast<const QGroupBox*>(widget)) return group->title();
    if (auto* list = dynamic_cast<const DropDownList*>(widget)) return list->chosenText();
    return {};
}

void setWidgetText(QWidget* widget, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(text);
    } else if (auto* list = dynamic_cast<DropDownList*>(widget)) {
        list->choose(text);
    } else {
        return;
    }
    // The new caption is on the screen before the handler goes on (a handler may wait).
    if (widget->isVisible()) widget->repaint();
}

} // namespace vostrel::platform::qt
