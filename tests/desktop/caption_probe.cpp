// Renders one control the way the Qt backend makes it, with a given caption, font and size, and
// saves it as a PNG. The end-to-end test reads captions off its screenshots by comparing them
// with such renderings (X11 cannot tell the text of a Qt widget).
//   caption_probe OUT.png WIDTH HEIGHT FONT_PX BOLD(0|1) CAPTION [button|list|edit]
// A list is a closed drop-down list showing CAPTION; an edit box holds it. FONT_PX 0 is the
// program's default font.
#include <QApplication>
#include <QWidget>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/qt/cjk_font.h"
#include "platform/qt/control_factory.h"

namespace {

using vostrel::platform::ControlKind;

std::optional<ControlKind> kindNamed(const std::string& name) {
    if (name == "button") return ControlKind::Button;
    if (name == "list") return ControlKind::DropDownList;
    if (name == "edit") return ControlKind::EditBox;
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 7 && argc != 8) return 2;
    const std::optional<ControlKind> kind = kindNamed(argc == 8 ? argv[7] : "button");
    if (!kind) return 2;
    vostrel::platform::ControlDescription described;
    described.kind = *kind;
    QCoreApplication::setAttribute(Qt::AA_DisableHighDpiScaling);
    QApplication app(argc, argv);
    QApplication::setFont(vostrel::platform::qt::defaultGuiFont());
    described.name = "probe";
    described.width = std::atoi(argv[2]);
    described.height = std::atoi(argv[3]);
    described.font.heightPx = std::atoi(argv[4]);
    described.font.bold = std::string(argv[5]) == "1";
    described.text = argv[6];
    if (described.kind == ControlKind::DropDownList) described.items = {described.text};
    QWidget window;
    window.setFixedSize(described.width, described.height);
    QWidget* control = vostrel::platform::qt::makeControlWidget(described, &window);
    window.show();
    QApplication::processEvents();
    return control->grab().save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
