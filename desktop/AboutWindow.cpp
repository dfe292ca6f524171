#include <gdk/gdkkeysyms.h>

#include <algorithm>

#include "Link.h"
#include "WindowLayouts.h"
#include "Windows.h"

namespace jotwell::desktop {
namespace {

long RequestOf(GtkWidget* widget) {
  return GPOINTER_TO_INT(g_object_get_data(G_OBJECT(gtk_widget_get_toplevel(widget)), "request"));
}

// A click is a press and a release on the same place; the release that
// ends a double-click is not another click. The release always comes to
// the area that had the press, wherever the pointer went since.
gboolean Pressed(GtkWidget* area, GdkEventButton* event, gpointer where) {
  if (event->button != 1) return TRUE;
  if (event->type == GDK_2BUTTON_PRESS && where) {
    g_object_set_data(G_OBJECT(area), "double", GINT_TO_POINTER(1));
    Answer(RequestOf(area), kVerbDoubleClick, {static_cast<const char*>(where)});
  }
  return TRUE;
}

gboolean Released(GtkWidget* area, GdkEventButton* event, gpointer where) {
  if (event->button != 1) return TRUE;
  if (g_object_steal_data(G_OBJECT(area), "double")) return TRUE;
  GdkDevice* pointer = gdk_event_get_device(reinterpret_cast<GdkEvent*>(event));
  if (gdk_device_get_window_at_position(pointer, nullptr, nullptr) != event->window) return TRUE;
  if (where) Answer(RequestOf(area), kVerbClick, {static_cast<const char*>(where)});
  return TRUE;
}

// `where` names the place in click messages; nullptr for a place whose
// clicks go nowhere, not even to what lies under it.
GtkWidget* ClickArea(GtkWidget* child, const char* where) {
  GtkWidget* area = gtk_event_box_new();
  gtk_widget_add_events(area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
  gtk_container_add(GTK_CONTAINER(area), child);
  g_signal_connect(area, "button-press-event", G_CALLBACK(Pressed), const_cast<char*>(where));
  g_signal_connect(area, "button-release-event", G_CALLBACK(Released), const_cast<char*>(where));
  return area;
}

void ShowHand(GtkWidget* area, gpointer) {
  GdkCursor* hand = gdk_cursor_new_from_name(gtk_widget_get_display(area), "pointer");
  gdk_window_set_cursor(gtk_widget_get_window(area), hand);
  if (hand) g_object_unref(hand);
}

GtkWidget* Label(const std::string& text, const layout::AboutLabel& look) {
  GtkWidget* label = gtk_label_new(Displayable(text).c_str());
  PangoAttrList* attributes = pango_attr_list_new();
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, look.font.face);
  pango_font_description_set_size(font, static_cast<gint>(look.font.points * PANGO_SCALE));
  if (look.font.bold) pango_font_description_set_weight(font, PANGO_WEIGHT_BOLD);
  if (look.font.italic) pango_font_description_set_style(font, PANGO_STYLE_ITALIC);
  pango_attr_list_insert(attributes, pango_attr_font_desc_new(font));
  pango_font_description_free(font);
  if (look.font.underline)
    pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  if (look.link) pango_attr_list_insert(attributes, pango_attr_foreground_new(0, 0, 65535));
  gtk_label_set_attributes(GTK_LABEL(label), attributes);
  pango_attr_list_unref(attributes);
  gtk_label_set_xalign(GTK_LABEL(label), 0);
  gtk_label_set_yalign(GTK_LABEL(label), 0);
  return label;
}

// A label too small for its text grows to fit, keeping its right edge, so
// that the version stays whole inside the frame.
void PutLabel(GtkWidget* frame, const std::string& text, size_t role) {
  const layout::AboutLabel& look = layout::kAboutLabels[role];
  const layout::Place& place = look.place;
  // The title and the links answer clicks; the other labels take theirs.
  bool answersClicks = kAboutRoles[role] == "title" || look.link;
  GtkWidget* label = Label(text, look);
  gtk_widget_show(label);  // a hidden widget asks for no room
  GtkRequisition natural;
  gtk_widget_get_preferred_size(label, nullptr, &natural);
  int width = std::max(Pixels(place.width), natural.width);
  int height = std::max(Pixels(place.height), natural.height);
  GtkWidget* area = ClickArea(label, answersClicks ? kAboutRoles[role].data() : nullptr);
  if (look.link) g_signal_connect_after(area, "realize", G_CALLBACK(ShowHand), nullptr);
  gtk_widget_set_size_request(area, width, height);
  gtk_fixed_put(GTK_FIXED(frame), area, Pixels(place.left + place.width) - width,
                Pixels(place.top));
}

// Only keys that produce a character; arrows, function keys and Shift
// alone produce none.
gboolean KeyPressed(GtkWidget* window, GdkEventKey* key, gpointer) {
  gunichar character;
  switch (key->keyval) {
    case GDK_KEY_Return: case GDK_KEY_KP_Enter: character = 13; break;
    case GDK_KEY_Escape: character = 27; break;
    case GDK_KEY_BackSpace: character = 8; break;
    case GDK_KEY_Tab: case GDK_KEY_ISO_Left_Tab: return TRUE;
    default: character = gdk_keyval_to_unicode(key->keyval);
  }
  if (character == 0) return TRUE;
  if ((key->state & GDK_CONTROL_MASK) && g_unichar_isalpha(character) && character < 128)
    character = g_unichar_toupper(character) & 0x1F;
  // KeyAscii is 16 bits; what does not fit reads as "?".
  Answer(RequestOf(window), kVerbKey, {std::to_string(character < 0x8000 ? character : '?')});
  return TRUE;
}

}  // namespace

void ShowAbout(long request, const std::vector<std::string>& texts) {
  GtkWidget* window = NewDialogWindow(request, "", "jotwell-about");

  GtkWidget* client = gtk_fixed_new();
  gtk_widget_set_size_request(client, Pixels(layout::kAboutWidth), Pixels(layout::kAboutHeight));
  gtk_container_add(GTK_CONTAINER(window), ClickArea(client, kAreaBackground.data()));
  GtkWidget* frame = gtk_frame_new(nullptr);
  GtkWidget* inside = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(frame), inside);
  GtkWidget* frameArea = ClickArea(frame, kAreaFrame.data());
  const layout::Place& framePlace = layout::kAboutFrame;
  gtk_widget_set_size_request(frameArea, Pixels(framePlace.width), Pixels(framePlace.height));
  gtk_fixed_put(GTK_FIXED(client), frameArea, Pixels(framePlace.left), Pixels(framePlace.top));
  for (size_t role = 0; role < layout::kAboutLabels.size(); ++role)
    PutLabel(inside, role < texts.size() ? texts[role] : "", role);

  g_signal_connect(window, "key-press-event", G_CALLBACK(KeyPressed), nullptr);
  ShowForRequest(request, window);
}

}  // namespace jotwell::desktop
