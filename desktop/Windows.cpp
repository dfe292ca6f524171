#include "Windows.h"

#include <map>

#include "Link.h"

namespace jotwell::desktop {
namespace {

std::map<long, GtkWidget*> windows;

// However the window went (closed by the user, by the window manager, by
// a crash of its display connection) the library hears of it, unless the
// library itself ended it.
void Forget(GtkWidget* window, gpointer request) {
  auto found = windows.find(GPOINTER_TO_INT(request));
  if (found == windows.end() || found->second != window) return;
  windows.erase(found);
  Answer(GPOINTER_TO_INT(request), kVerbClosed);
}

// A toolkit without a window manager gives no focus to a new window.
gboolean FocusWhenMapped(GtkWidget* window, GdkEvent*, gpointer) {
  gdk_window_focus(gtk_widget_get_window(window), GDK_CURRENT_TIME);
  return FALSE;
}

constexpr const char* kStyle = R"(
button.compact { padding: 0; min-height: 0; min-width: 0; }
textview.report, textview.report text {
  background-color: @theme_bg_color;
  font-family: "Courier New", monospace;
  font-size: 8.25pt;
  font-weight: normal;
}
)";

}  // namespace

void NameKind(GtkWidget* window, const char* kind) {
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_window_set_wmclass(GTK_WINDOW(window), kind, "Jotwell-desktop");
  G_GNUC_END_IGNORE_DEPRECATIONS
}

GtkWidget* NewDialogWindow(long request, const char* title, const char* kind) {
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  g_object_set_data(G_OBJECT(window), "request", GINT_TO_POINTER(request));
  gtk_window_set_title(GTK_WINDOW(window), title);
  NameKind(window, kind);
  gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  return window;
}

void ShowForRequest(long request, GtkWidget* window) {
  windows[request] = window;
  g_signal_connect(window, "destroy", G_CALLBACK(Forget), GINT_TO_POINTER(request));
  g_signal_connect(window, "map-event", G_CALLBACK(FocusWhenMapped), nullptr);
  gtk_window_set_keep_above(GTK_WINDOW(window), TRUE);
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
  gtk_widget_show_all(window);
  gtk_window_present(GTK_WINDOW(window));
}

GtkWidget* WindowOf(long request) {
  auto found = windows.find(request);
  return found == windows.end() ? nullptr : found->second;
}

void EndRequest(long request) {
  GtkWidget* window = WindowOf(request);
  if (!window) return;
  windows.erase(request);
  gtk_widget_destroy(window);
}

void LoadStyle() {
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, kStyle, -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(provider),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(provider);
}

}  // namespace jotwell::desktop
