#include "platform/qt/cjk_font.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

namespace vostrel::platform::qt {

namespace {
constexpr int kDefaultGuiFontPx = 12; // the classic 9-point dialog font at 96 dpi
}

QString cjkFamily() {
    static const QString family = [] {
        const QStringList preferred = {"WenQuanYi Micro Hei", "Noto Sans CJK SC",    "Source Han Sans SC",
                                       "WenQuanYi Zen Hei",   "Droid Sans Fallback", "AR PL UMing CN"};
        const QStringList covering = QFontDatabase().families(QFontDatabase::SimplifiedChinese);
        for (const QString& name : preferred) {
            if (covering.contains(name, Qt::CaseInsensitive)) return name;
        }
        if (!covering.isEmpty()) return covering.front();
        return QGuiApplication::font().family();
    }();
    return family;
}

QFont defaultGuiFont() {
    QFont font(cjkFamily());
    font.setPixelSize(kDefaultGuiFontPx);
    return font;
}

QFont fontFor(const FontStyle& described) {
    QFont font = defaultGuiFont();
    if (described.heightPx > 0) font.setPixelSize(described.heightPx);
    font.setBold(described.bold);
    return font;
}

} // namespace vostrel::platform::qt
