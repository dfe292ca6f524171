#include "Link.h"
#include "Pictures.h"
#include "Windows.h"

namespace jotwell::desktop {
namespace {

// OK, Escape or the window manager: the box goes, and the library hears.
void Closed(GtkDialog* dialog, gint, gpointer) { gtk_widget_destroy(GTK_WIDGET(dialog)); }

}  // namespace

// Arguments: the title, the icon word, the prompt lines.
void ShowMessageBox(long request, const std::vector<std::string>& arguments) {
  std::string title = arguments.empty() ? "" : arguments[0];
  bool critical = arguments.size() > 1 && arguments[1] == kIconCritical;
  std::string prompt;
  for (size_t i = 2; i < arguments.size(); ++i) prompt += (i > 2 ? "\n" : "") + arguments[i];

  GtkWidget* dialog = gtk_dialog_new();
  gtk_window_set_title(GTK_WINDOW(dialog), Displayable(title).c_str());
  NameKind(dialog, "jotwell-box");
  gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
  GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
  gtk_container_set_border_width(GTK_CONTAINER(row), 12);
  GtkWidget* sign = critical ? StopSign() : InformationSign();
  gtk_widget_set_valign(sign, GTK_ALIGN_START);
  gtk_box_pack_start(GTK_BOX(row), sign, FALSE, FALSE, 0);
  GtkWidget* text = gtk_label_new(Displayable(prompt).c_str());
  gtk_label_set_xalign(GTK_LABEL(text), 0);
  gtk_box_pack_start(GTK_BOX(row), text, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(GTK_DIALOG(dialog))), row, TRUE, TRUE, 0);
  GtkWidget* ok = gtk_dialog_add_button(GTK_DIALOG(dialog), "OK", GTK_RESPONSE_OK);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
  g_signal_connect(dialog, "response", G_CALLBACK(Closed), nullptr);
  ShowForRequest(request, dialog);
  gtk_widget_grab_focus(ok);
}

}  // namespace jotwell::desktop
