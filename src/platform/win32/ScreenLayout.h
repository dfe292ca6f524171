// Places and fonts given in twips and points, made pixels for the screen:
// 15 twips a pixel at 96 dpi, scaled for any other.
#pragma once

#include <windows.h>

#include "WindowLayouts.h"
#include "platform/win32/UserHandles.h"

namespace jotwell::platform::win32 {

// The module whose resources the windows load: the library's own file, or
// the program that the library's code is linked into.
HINSTANCE ThisModule();

// Pixels per logical inch of the screen the windows appear on.
int ScreenDpi();

int PixelsOf(int twips, int dpi);
// `place` inside `within` (twips) as a rectangle of pixels. Each edge is
// scaled from its twips, so that edges the twips line up stay lined up.
RECT PixelsOf(const layout::Place& place, int dpi, const layout::Place& within = {});
// Puts a child window at `place` (pixels).
void Put(HWND control, const RECT& place);
void Put(HWND control, const layout::Place& place, int dpi);
// The font as asked for; the system draws a stand-in for a face it lacks,
// but the font keeps the face, height, weight and style asked for.
Font MakeFont(const layout::Font& font, int dpi);

// Gives `window` a client area of `width` × `height` twips and puts it in
// the middle of the work area.
void SizeAndCentre(HWND window, int width, int height, int dpi);

}  // namespace jotwell::platform::win32
