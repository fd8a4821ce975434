#include "platform/qt/cjk_font.h"

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QStringList>

namespace vostrel::platform::qt {

namespace {
constexpr int kDefaultGuiFontPx = 12; // the classic 9-point dialog font at 96 dpi
// Qt's own font folder beneath its libraries (the default of QT_QPA_FONTDIR).
constexpr char kQtFontFolder[] = "/fonts";

QStringList simplifiedChineseFamilies() { return QFontDatabase().families(QFontDatabase::SimplifiedChinese); }

// Only when the system has no Chinese face, so that a system's own choice is never overruled.
// The application's fonts join fontconfig's set, so they also serve Qt's glyph fallback.
QStringList familiesWithFontFolderAdded() {
    const QDir folder(QLibraryInfo::location(QLibraryInfo::LibrariesPath) + QLatin1String(kQtFontFolder));
    for (const QString& file : folder.entryList({"*.ttc", "*.ttf", "*.otf"}, QDir::Files))
        QFontDatabase::addApplicationFont(folder.filePath(file));
    return simplifiedChineseFamilies();
}
} // namespace

QString cjkFamily() {
    static const QString family = [] {
        const QStringList preferred = {"WenQuanYi Micro Hei", "Noto Sans CJK SC",    "Source Han Sans SC",
                                       "WenQuanYi Zen Hei",   "Droid Sans Fallback", "AR PL UMing CN"};
        QStringList covering = simplifiedChineseFamilies();
        if (covering.isEmpty()) covering = familiesWithFontFolderAdded();
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
