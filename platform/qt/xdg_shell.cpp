#include "platform/qt/xdg_shell.h"

#include <QByteArray>
#include <QDesktopServices>
#include <QUrl>

namespace vostrel::platform::qt {

void XdgShell::openWebPage(std::string_view address) {
    // The address comes percent-encoded (file:// URLs of local pages included), so it is taken
    // as encoded bytes: a folder name in Chinese reaches the handler as the same folder.
    const QUrl url = QUrl::fromEncoded(QByteArray(address.data(), static_cast<int>(address.size())), QUrl::StrictMode);
    if (!url.isValid() || url.isEmpty()) return;
    QDesktopServices::openUrl(url);
}

} // namespace vostrel::platform::qt
