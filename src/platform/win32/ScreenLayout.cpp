#include "platform/win32/ScreenLayout.h"

#include <cmath>

#include "platform/win32/WideText.h"

// The linker's name for the start of the module this code is linked into.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace jotwell::platform::win32 {

HINSTANCE ThisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

int ScreenDpi() {
  HDC screen = ::GetDC(nullptr);
  int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

int PixelsOf(int twips, int dpi) { return ::MulDiv(twips, dpi, layout::kTwipsPerInch); }

RECT PixelsOf(const layout::Place& place, int dpi, const layout::Place& within) {
  int left = within.left + place.left, top = within.top + place.top;
  return {PixelsOf(left, dpi), PixelsOf(top, dpi), PixelsOf(left + place.width, dpi),
          PixelsOf(top + place.height, dpi)};
}

void Put(HWND control, const RECT& place) {
  ::SetWindowPos(control, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Put(HWND control, const layout::Place& place, int dpi) { Put(control, PixelsOf(place, dpi)); }

Font MakeFont(const layout::Font& font, int dpi) {
  LOGFONTW look{};
  look.lfHeight = -static_cast<LONG>(std::lround(font.points * dpi / 72));
  look.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  look.lfItalic = font.italic;
  look.lfUnderline = font.underline;
  look.lfCharSet = DEFAULT_CHARSET;
  look.lfQuality = DEFAULT_QUALITY;
  look.lfPitchAndFamily = font.fixedPitch ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH | FF_DONTCARE;
  std::wstring face = Wide(font.face);
  face.copy(look.lfFaceName, LF_FACESIZE - 1);
  return Font(::CreateFontIndirectW(&look));
}

void SizeAndCentre(HWND window, int width, int height, int dpi) {
  RECT frame{0, 0, PixelsOf(width, dpi), PixelsOf(height, dpi)};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE)));
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int outerWidth = frame.right - frame.left, outerHeight = frame.bottom - frame.top;
  ::SetWindowPos(window, nullptr, work.left + (work.right - work.left - outerWidth) / 2,
                 work.top + (work.bottom - work.top - outerHeight) / 2, outerWidth, outerHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace jotwell::platform::win32
