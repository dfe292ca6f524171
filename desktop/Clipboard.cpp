#include "Clipboard.h"

#include <gtk/gtk.h>

namespace jotwell::desktop {
namespace {

std::string held;

void Give(GtkClipboard*, GtkSelectionData* selection, guint, gpointer) {
  gtk_selection_data_set(selection, gtk_selection_data_get_target(selection), 8,
                         reinterpret_cast<const guchar*>(held.data()), static_cast<gint>(held.size()));
}

void Taken(GtkClipboard*, gpointer) {}

}  // namespace

void KeepOnClipboard(std::string text) {
  static const GtkTargetEntry kTargets[] = {
      {const_cast<gchar*>("UTF8_STRING"), 0, 0},
      {const_cast<gchar*>("text/plain;charset=utf-8"), 0, 0},
      {const_cast<gchar*>("TEXT"), 0, 0},
      {const_cast<gchar*>("STRING"), 0, 0},
      {const_cast<gchar*>("text/plain"), 0, 0},
  };
  held = std::move(text);
  GtkClipboard* clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
  gtk_clipboard_set_with_data(clipboard, kTargets, G_N_ELEMENTS(kTargets), Give, Taken, nullptr);
  gtk_clipboard_set_can_store(clipboard, nullptr, 0);
}

}  // namespace jotwell::desktop
