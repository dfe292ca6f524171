// The agent's windows, each belonging to one request of the library.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

namespace jotwell::desktop {

// Layouts are given in twips and drawn at 15 twips a pixel.
constexpr int Pixels(int twips) { return twips / 15; }

// Names the window's kind in its class ("jotwell-box", "jotwell-report",
// "jotwell-about"), where tests and window managers find it.
void NameKind(GtkWidget* window, const char* kind);
// A new fixed-size dialog window of kind `kind` for request `request`.
GtkWidget* NewDialogWindow(long request, const char* title, const char* kind);
// Keeps `window` as request `request`'s and shows it above the host's
// windows with the focus. However it goes but by EndRequest (closed by the
// user or the window manager), the library is told "closed".
void ShowForRequest(long request, GtkWidget* window);
// The window of request `request`, nullptr when it has none.
GtkWidget* WindowOf(long request);
// The library has unloaded request `request`'s window: it goes silently.
void EndRequest(long request);

void ShowMessageBox(long request, const std::vector<std::string>& arguments);
void ShowReport(long request, const std::string& text);
void ReplaceReportText(long request, const std::string& text);
void ShowAbout(long request, const std::vector<std::string>& texts);

// Loads the look the windows share.
void LoadStyle();

}  // namespace jotwell::desktop
