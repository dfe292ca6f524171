// Owners of the window system's handles that the windows make: each is
// given back to the system when its owner goes.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace jotwell::platform::win32 {

template <typename Handle, auto Release>
struct ReleaseWith {
  void operator()(Handle handle) const { Release(handle); }
};
template <typename Handle, auto Release>
using Owned = std::unique_ptr<std::remove_pointer_t<Handle>, ReleaseWith<Handle, Release>>;

using Font = Owned<HFONT, &::DeleteObject>;
using Bitmap = Owned<HBITMAP, &::DeleteObject>;
using Icon = Owned<HICON, &::DestroyIcon>;
using Cursor = Owned<HCURSOR, &::DestroyCursor>;

}  // namespace jotwell::platform::win32
