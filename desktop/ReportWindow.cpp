#include <gdk/gdkkeysyms.h>

#include "Link.h"
#include "Pictures.h"
#include "Windows.h"

namespace jotwell::desktop {
namespace {

struct Place {
  int left, top, width, height;  // twips
};

void Put(GtkWidget* fixed, GtkWidget* control, Place place) {
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

// GTK underlines a mnemonic only while Alt is held; the access key is
// always shown underlined here, and Alt with it presses the button.
GtkWidget* ChoiceButton(GtkAccelGroup* keys, const char* accessKey, const char* rest,
                        ReportButton index) {
  GtkWidget* button = gtk_button_new();
  GtkWidget* caption = gtk_label_new(nullptr);
  gchar* markup = g_markup_printf_escaped("<u>%s</u>%s", accessKey, rest);
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
  gtk_widget_set_size_request(fixed, Pixels(6570), Pixels(5775));
  gtk_container_add(GTK_CONTAINER(window), fixed);

  Put(fixed, StopSign(), {120, 120, 480, 480});
  GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_ALWAYS, GTK_POLICY_ALWAYS);
  // Both bars always shown, as a text box has them, not only on hover.
  gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(scroller), FALSE);
  gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_IN);
  GtkWidget* view = ReportText(text);
  gtk_container_add(GTK_CONTAINER(scroller), view);
  g_object_set_data(G_OBJECT(window), "text", view);
  Put(fixed, scroller, {720, 120, 5655, 4935});
  GtkAccelGroup* keys = gtk_accel_group_new();
  gtk_window_add_accel_group(GTK_WINDOW(window), keys);
  g_object_unref(keys);
  GtkWidget* abort = ChoiceButton(keys, "A", "bort", kButtonAbort);
  GtkWidget* retry = ChoiceButton(keys, "R", "etry", kButtonRetry);
  GtkWidget* ignore = ChoiceButton(keys, "I", "gnore", kButtonIgnore);
  GtkWidget* copy = gtk_button_new();
  gtk_style_context_add_class(gtk_widget_get_style_context(copy), "compact");
  gtk_container_add(GTK_CONTAINER(copy), CopyPicture());
  gtk_widget_set_tooltip_text(copy, "Copy");
  g_signal_connect(copy, "clicked", G_CALLBACK(Pressed), GINT_TO_POINTER(kButtonCopy));
  Put(fixed, abort, {3000, 5280, 855, 375});
  Put(fixed, retry, {3960, 5280, 855, 375});
  Put(fixed, ignore, {4920, 5280, 855, 375});
  Put(fixed, copy, {6000, 5280, 375, 375});
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
