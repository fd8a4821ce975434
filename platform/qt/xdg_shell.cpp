#include "platform/qt/xdg_shell.h"

#include <QProcess>
#include <QStringList>

namespace vostrel::platform::qt {

void XdgShell::openWebPage(std::string_view address) {
    if (address.empty()) return;
    // The address is one argument of its own: no shell sees it, so nothing in it is run.
    QProcess::startDetached(QStringLiteral("xdg-open"),
                            {QString::fromUtf8(address.data(), static_cast<int>(address.size()))});
}

} // namespace vostrel::platform::qt
