#pragma once
// Fonts of the main window. Every font the window description names is a GB2312 font without a
// face name; here the system's Simplified Chinese face is chosen once and used for them all, so
// that Chinese captions never fall back glyph by glyph to mismatched faces.
#include <QFont>

#include "platform/window_description.h"

namespace vostrel::platform::qt {

// The face for Simplified Chinese: a well-known CJK family if one is installed, otherwise the
// first family that covers Simplified Chinese. A system with none gets the fonts in Qt's font
// folder (lib/fonts in the portable folder, where qt.conf puts Qt's libraries) instead of boxes;
// with none there either, the application's default.
QString cjkFamily();

// The stand-in for the platform's default GUI font: the CJK face at 12 px.
QFont defaultGuiFont();

// heightPx is the character height in pixels (0: the default GUI font).
QFont fontFor(const FontStyle& described);

} // namespace vostrel::platform::qt
