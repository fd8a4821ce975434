// Renders one push button the way the Qt backend makes it, with a given caption, font and size,
// and saves it as a PNG. The end-to-end test reads button captions off its screenshots by
// comparing them with such renderings (X11 cannot tell the text of a Qt widget).
//   caption_probe OUT.png WIDTH HEIGHT FONT_PX BOLD(0|1) CAPTION
#include <QApplication>
#include <QWidget>
#include <cstdlib>
#include <string>

#include "platform/qt/cjk_font.h"
#include "platform/qt/control_factory.h"

int main(int argc, char** argv) {
    if (argc != 7) return 2;
    QCoreApplication::setAttribute(Qt::AA_DisableHighDpiScaling);
    QApplication app(argc, argv);
    QApplication::setFont(vostrel::platform::qt::defaultGuiFont());
    vostrel::platform::ControlDescription described;
    described.name = "probe";
    described.kind = vostrel::platform::ControlKind::Button;
    described.width = std::atoi(argv[2]);
    described.height = std::atoi(argv[3]);
    described.font.heightPx = std::atoi(argv[4]);
    described.font.bold = std::string(argv[5]) == "1";
    described.text = argv[6];
    QWidget window;
    window.setFixedSize(described.width, described.height);
    QWidget* button = vostrel::platform::qt::makeControlWidget(described, &window);
    window.show();
    QApplication::processEvents();
    return button->grab().save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
