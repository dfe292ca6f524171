#include <gdk/gdkkeysyms.h>

#include <algorithm>
#include <array>

#include "Link.h"
#include "Windows.h"

namespace jotwell::desktop {
namespace {

struct LabelLook {
  const char* family;
  double points;
  bool link;    // blue, underlined, the hand cursor, clicks answered
  bool italic;
  bool answersClicks;
  int left, top, width, height;  // twips, inside the frame
};

// In the order of kAboutRoles. Every text is bold.
constexpr std::array<LabelLook, 6> kLooks = {{
    {"Comic Sans MS", 36, false, false, true, 195, 195, 3570, 1005},
    {"Comic Sans MS", 9.75, false, false, false, 165, 1200, 1200, 270},
    {"Comic Sans MS", 9.75, true, false, true, 1740, 1185, 2055, 285},
    {"Arial", 15.75, false, false, false, 4080, 2520, 2775, 360},
    {"Arial", 12, false, false, false, 5970, 2835, 885, 285},
    {"Arial", 8.25, true, true, true, 6045, 3105, 825, 195},
}};

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

GtkWidget* Label(const std::string& text, const LabelLook& look) {
  GtkWidget* label = gtk_label_new(Displayable(text).c_str());
  PangoAttrList* attributes = pango_attr_list_new();
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, look.family);
  pango_font_description_set_size(font, static_cast<gint>(look.points * PANGO_SCALE));
  pango_font_description_set_weight(font, PANGO_WEIGHT_BOLD);
  if (look.italic) pango_font_description_set_style(font, PANGO_STYLE_ITALIC);
  pango_attr_list_insert(attributes, pango_attr_font_desc_new(font));
  pango_font_description_free(font);
  if (look.link) {
    pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    pango_attr_list_insert(attributes, pango_attr_foreground_new(0, 0, 65535));
  }
  gtk_label_set_attributes(GTK_LABEL(label), attributes);
  pango_attr_list_unref(attributes);
  gtk_label_set_xalign(GTK_LABEL(label), 0);
  gtk_label_set_yalign(GTK_LABEL(label), 0);
  return label;
}

// A label too small for its text grows to fit, keeping its right edge, so
// that the version stays whole inside the frame.
void PutLabel(GtkWidget* frame, const std::string& text, size_t role) {
  const LabelLook& look = kLooks[role];
  GtkWidget* label = Label(text, look);
  gtk_widget_show(label);  // a hidden widget asks for no room
  GtkRequisition natural;
  gtk_widget_get_preferred_size(label, nullptr, &natural);
  int width = std::max(Pixels(look.width), natural.width);
  int height = std::max(Pixels(look.height), natural.height);
  GtkWidget* area = ClickArea(label, look.answersClicks ? kAboutRoles[role].data() : nullptr);
  if (look.link) g_signal_connect_after(area, "realize", G_CALLBACK(ShowHand), nullptr);
  gtk_widget_set_size_request(area, width, height);
  gtk_fixed_put(GTK_FIXED(frame), area, Pixels(look.left + look.width) - width, Pixels(look.top));
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
  gtk_widget_set_size_request(client, Pixels(7215), Pixels(3615));
  gtk_container_add(GTK_CONTAINER(window), ClickArea(client, kAreaBackground.data()));
  GtkWidget* frame = gtk_frame_new(nullptr);
  GtkWidget* inside = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(frame), inside);
  GtkWidget* frameArea = ClickArea(frame, kAreaFrame.data());
  gtk_widget_set_size_request(frameArea, Pixels(7080), Pixels(3480));
  gtk_fixed_put(GTK_FIXED(client), frameArea, Pixels(60), Pixels(45));
  for (size_t role = 0; role < kAboutRoles.size(); ++role)
    PutLabel(inside, role < texts.size() ? texts[role] : "", role);

  g_signal_connect(window, "key-press-event", G_CALLBACK(KeyPressed), nullptr);
  ShowForRequest(request, window);
}

}  // namespace jotwell::desktop
