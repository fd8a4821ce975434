#pragma once
// Ownership of GDI objects (fonts, bitmaps): deleted with their owner.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace vostrel::platform::win32 {

struct GdiObjectDeleter {
    void operator()(void* object) const {
        if (object) DeleteObject(static_cast<HGDIOBJ>(object));
    }
};

template <class Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

using OwnedFont = GdiObject<HFONT>;
using OwnedBitmap = GdiObject<HBITMAP>;

} // namespace vostrel::platform::win32
