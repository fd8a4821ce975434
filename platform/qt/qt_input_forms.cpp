#include "platform/qt/qt_input_forms.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QSpacerItem>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "platform/qt/cjk_font.h"
#include "platform/qt/limited_line_edit.h"
#include "platform/qt/qt_message_boxes.h"
#include "platform/qt/utf8_qstring.h"

namespace vostrel::platform::qt {

namespace {

constexpr const char* kOkCaption = "确定";
constexpr const char* kCancelCaption = "取消";
// A box is as wide as its limit in the widest characters it takes: CJK ones, or digits.
const QChar kWidestCharacter(0x4E2D); // 中
const QChar kWidestDigit(u'0');
// QLineEdit's margin on either side of its text (2 px each) and its cursor (1 px).
constexpr int kLineEditTextRoom = 2 * 2 + 1;
// Boxes without a limit are as wide as this many characters.
constexpr int kUnlimitedChars = 8;

int boxWidthFor(const QLineEdit& box, const FormField& field) {
    const QFontMetrics metrics(box.font());
    const int chars = field.maxChars > 0 ? field.maxChars : kUnlimitedChars;
    const int advance = metrics.horizontalAdvance(field.digitsOnly ? kWidestDigit : kWidestCharacter);
    const QMargins text = box.textMargins();
    QStyleOptionFrame option;
    option.initFrom(&box);
    option.lineWidth = box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &box);
    // Half a character to spare, so that a full box does not look cramped.
    const int characters = chars * advance + advance / 2;
    const QSize content(characters + kLineEditTextRoom + text.left() + text.right(), metrics.height());
    return box.style()->sizeFromContents(QStyle::CT_LineEdit, &option, content, &box).width();
}

QLineEdit* makeBox(const FormField& field, QWidget* parent) {
    auto* box = new LimitedLineEdit(field.maxChars, parent);
    box->setText(fromUtf8(field.text));
    if (field.digitsOnly) {
        box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
        box->setInputMethodHints(Qt::ImhDigitsOnly);
    }
    return box;
}

// The fields' rows; every box is as wide as the widest needs, so they line up.
std::vector<QLineEdit*> addFields(QFormLayout& rows, const std::vector<FormField>& fields, QWidget* parent) {
    std::vector<QLineEdit*> boxes;
    int width = 0;
    for (const FormField& field : fields) {
        QLineEdit* box = makeBox(field, parent);
        width = std::max(width, boxWidthFor(*box, field));
        rows.addRow(new QLabel(fromUtf8(field.label), parent), box);
        boxes.push_back(box);
    }
    for (QLineEdit* box : boxes) box->setFixedWidth(width);
    return boxes;
}

QDialogButtonBox* makeButtons(QDialog& dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8(kOkCaption));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(kCancelCaption));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

// Qt centres a dialog's client area on its owner's with a guessed frame, which leaves it a title
// bar's height too high; here the outer frames are centred, the dialog's frame taken to be like
// the owner's (the same window manager draws both), and the dialog kept whole on the screen.
void centreOn(QWidget& dialog, const QWidget& owner) {
    dialog.adjustSize();
    const QMargins frame = owner.windowHandle() ? owner.windowHandle()->frameMargins() : QMargins();
    QRect place(QPoint(), dialog.size().grownBy(frame));
    place.moveCenter(owner.frameGeometry().center());
    const QRect screen = owner.screen()->availableGeometry();
    place.moveLeft(std::max(screen.left(), std::min(place.left(), screen.right() + 1 - place.width())));
    place.moveTop(std::max(screen.top(), std::min(place.top(), screen.bottom() + 1 - place.height())));
    dialog.move(place.topLeft()); // before the first show, move() places the frame's corner
}

} // namespace

std::optional<std::vector<std::string>> QtInputForms::askForm(std::string_view title, std::string_view explanation,
                                                              const std::vector<FormField>& fields) {
    QDialog dialog(host_.mainWindow());
    dialog.setWindowTitle(fromUtf8(title));
    dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setFont(defaultGuiFont());
    auto* layout = new QVBoxLayout(&dialog);
    layout->setSizeConstraint(QLayout::SetFixedSize); // as large as its contents, never resized
    auto* text = new QLabel(fromUtf8(explanation), &dialog);
    text->setTextFormat(Qt::PlainText);
    layout->addWidget(text);
    auto* rows = new QFormLayout;
    layout->addLayout(rows);
    const std::vector<QLineEdit*> boxes = addFields(*rows, fields, &dialog);
    layout->addWidget(makeButtons(dialog));
    // Wide enough for the window manager to show the whole title.
    layout->addItem(new QSpacerItem(titleBarWidth(dialog.windowTitle()), 0, QSizePolicy::Fixed, QSizePolicy::Minimum));
    if (const QWidget* owner = host_.mainWindow(); owner && owner->isVisible()) centreOn(dialog, *owner);
    if (!boxes.empty()) {
        boxes.front()->setFocus(Qt::OtherFocusReason);
        boxes.front()->selectAll(); // typing replaces what the box holds
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    std::vector<std::string> texts;
    for (const QLineEdit* box : boxes) texts.push_back(box->text().toStdString());
    return texts;
}

} // namespace vostrel::platform::qt
