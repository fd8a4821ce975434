#include "platform/qt/qt_platform.h"

#include <QLibraryInfo>
#include <QLocale>

#include "platform/posix/ini_profile_store.h"
#include "platform/posix/posix_background_files.h"
#include "platform/posix/posix_file_system.h"
#include "platform/qt/cjk_font.h"
#include "platform/qt/display_scaling.h"

namespace vostrel::platform::qt {

namespace {
std::unique_ptr<QApplication> makeApplication(int& argc, char** argv) {
    followDesktopScale();
    auto app = std::make_unique<QApplication>(argc, argv);
    // The program ends when its main window is gone, not when the last message box closes
    // (start-up messages are shown before the main window appears).
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setFont(defaultGuiFont());
    return app;
}
} // namespace

QtPlatform::QtPlatform(int argc, char** argv)
    : argc_(argc), app_(makeApplication(argc_, argv)), files_(std::make_unique<PosixFileSystem>()),
      profile_(std::make_unique<IniProfileStore>()), backgroundFiles_(std::make_unique<PosixBackgroundFiles>()) {
    // On a Chinese desktop the message boxes' button reads 确定, as the system's own boxes do.
    if (qtTexts_.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts_);
}

QtPlatform::~QtPlatform() = default;

} // namespace vostrel::platform::qt

namespace vostrel::platform {

std::unique_ptr<Platform> createPlatform(int argc, char** argv) { return std::make_unique<qt::QtPlatform>(argc, argv); }

} // namespace vostrel::platform
