#include <gdk/gdkkeysyms.h>

#include "Link.h"
#include "Pictures.h"
#include "WindowLayouts.h"
#include "Windows.h"

namespace jotwell::desktop {
namespace {

using layout::kReportButtons;

void Put(GtkWidget* fixed, GtkWidget* control, layout::Place place) {
  gtk_widget_set_size_request(control, Pixels(place.width), Pixels(place.height));
  gtk_fixed_put(GTK_FIXED(fixed), control, Pixels(place.left), Pixels(place.top));
}

long RequestOf(GtkWidget* widget) {
  return GPOINTER_TO_INT(g_object_get_data(G_OBJECT(gtk_widget_get_toplevel(widget)), "request"));
}

void Pressed(GtkButton* button, gpointer index) {
  Answer(RequestOf(GTK_WIDGET(button)), kVerbButton, {std::to_string(GPOINTER_TO_INT(index))});
}

// Escape is the cancel key: it presses &Abort.
gboolean EscapeAborts(GtkWidget* window, GdkEventKey* key, gpointer) {
  if (key->keyval != GDK_KEY_Escape) return FALSE;
  Answer(RequestOf(window), kVerbButton, {std::to_string(kButtonAbort)});
  return TRUE;
}

// GTK underlines a mnemonic only while Alt is held; the access key (the
// letter after "&") is always shown underlined here, and Alt with it
// presses the button.
GtkWidget* ChoiceButton(GtkAccelGroup* keys, ReportButton index) {
  const char* accessKey = layout::kReportCaptions[index] + 1;
  GtkWidget* button = gtk_button_new();
  GtkWidget* caption = gtk_label_new(nullptr);
  gchar* markup = g_markup_printf_escaped("<u>%c</u>%s", accessKey[0], accessKey + 1);
  gtk_label_set_markup(GTK_LABEL(caption), markup);
  g_free(markup);
  gtk_container_add(GTK_CONTAINER(button), caption);
  guint key = gdk_keyval_to_lower(gdk_unicode_to_keyval(static_cast<guint32>(accessKey[0])));
  gtk_widget_add_accelerator(button, "clicked", keys, key, GDK_MOD1_MASK, GTK_ACCEL_VISIBLE);
  gtk_style_context_add_class(gtk_widget_get_style_context(button), "compact");
  g_signal_connect(button, "clicked", G_CALLBACK(Pressed), GINT_TO_POINTER(index));
  return button;
}

GtkWidget* ReportText(const std::string& text) {
  GtkWidget* view = gtk_text_view_new();
  gtk_style_context_add_class(gtk_widget_get_style_context(view), "report");
  gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view), GTK_WRAP_NONE);
  gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(view)), Displayable(text).c_str(), -1);
  return view;
}

}  // namespace

void ShowReport(long request, const std::string& text) {
  GtkWidget* window = NewDialogWindow(request, "Run-Time Error", "jotwell-report");
  GtkWidget* fixed = gtk_fixed_new();
  gtk_widget_set_size_request(fixed, Pixels(layout::kReportWidth), Pixels(layout::kReportHeight));
  gtk_container_add(GTK_CONTAINER(window), fixed);

  Put(fixed, StopSign(), layout::kReportIcon);
  GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_ALWAYS, GTK_POLICY_ALWAYS);
  // Both bars always shown, as a text box has them, not only on hover.
  gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(scroller), FALSE);
  gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_IN);
  GtkWidget* view = ReportText(text);
  gtk_container_add(GTK_CONTAINER(scroller), view);
  g_object_set_data(G_OBJECT(window), "text", view);
  Put(fixed, scroller, layout::kReportText);
  GtkAccelGroup* keys = gtk_accel_group_new();
  gtk_window_add_accel_group(GTK_WINDOW(window), keys);
  g_object_unref(keys);
  GtkWidget* abort = ChoiceButton(keys, kButtonAbort);
  GtkWidget* retry = ChoiceButton(keys, kButtonRetry);
  GtkWidget* ignore = ChoiceButton(keys, kButtonIgnore);
  GtkWidget* copy = gtk_button_new();
  gtk_style_context_add_class(gtk_widget_get_style_context(copy), "compact");
  gtk_container_add(GTK_CONTAINER(copy), CopyPicture());
  gtk_widget_set_tooltip_text(copy, "Copy");
  g_signal_connect(copy, "clicked", G_CALLBACK(Pressed), GINT_TO_POINTER(kButtonCopy));
  Put(fixed, abort, kReportButtons[kButtonAbort]);
  Put(fixed, retry, kReportButtons[kButtonRetry]);
  Put(fixed, ignore, kReportButtons[kButtonIgnore]);
  Put(fixed, copy, kReportButtons[kButtonCopy]);
  // The text first, then the buttons from left to right.
  GList* order = nullptr;
  for (GtkWidget* control : {scroller, abort, retry, ignore, copy}) order = g_list_append(order, control);
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_container_set_focus_chain(GTK_CONTAINER(fixed), order);
  G_GNUC_END_IGNORE_DEPRECATIONS
  g_list_free(order);

  g_signal_connect(window, "key-press-event", G_CALLBACK(EscapeAborts), nullptr);
  ShowForRequest(request, window);
  gtk_widget_grab_focus(view);
}

void ReplaceReportText(long request, const std::string& text) {
  GtkWidget* window = WindowOf(request);
  if (!window) return;
  auto* view = static_cast<GtkTextView*>(g_object_get_data(G_OBJECT(window), "text"));
  if (view) gtk_text_buffer_set_text(gtk_text_view_get_buffer(view), Displayable(text).c_str(), -1);
}

}  // namespace jotwell::desktop
