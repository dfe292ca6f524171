#include "Pictures.h"

#include <initializer_list>

namespace jotwell::desktop {
namespace {

using Draw = gboolean (*)(GtkWidget*, cairo_t*, gpointer);

// Given more room than it needs (a button's), a picture sits in its middle.
GtkWidget* Picture(int width, int height, Draw draw) {
  GtkWidget* area = gtk_drawing_area_new();
  gtk_widget_set_size_request(area, width, height);
  gtk_widget_set_halign(area, GTK_ALIGN_CENTER);
  gtk_widget_set_valign(area, GTK_ALIGN_CENTER);
  g_signal_connect(area, "draw", G_CALLBACK(draw), nullptr);
  return area;
}

void Disc(cairo_t* cr, double red, double green, double blue) {
  cairo_arc(cr, 16, 16, 15, 0, 2 * G_PI);
  cairo_set_source_rgb(cr, red, green, blue);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 0.5 * red, 0.5 * green, 0.5 * blue);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
}

gboolean DrawStop(GtkWidget*, cairo_t* cr, gpointer) {
  Disc(cr, 1, 0, 0);
  cairo_set_line_width(cr, 4);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, 10, 10), cairo_line_to(cr, 22, 22);
  cairo_move_to(cr, 22, 10), cairo_line_to(cr, 10, 22);
  cairo_stroke(cr);
  return TRUE;
}

gboolean DrawInformation(GtkWidget*, cairo_t* cr, gpointer) {
  Disc(cr, 0, 0, 1);
  cairo_arc(cr, 16, 9, 2.5, 0, 2 * G_PI);
  cairo_fill(cr);
  cairo_rectangle(cr, 14, 13, 4, 11);
  cairo_fill(cr);
  return TRUE;
}

gboolean DrawPages(GtkWidget*, cairo_t* cr, gpointer) {
  cairo_set_line_width(cr, 1);
  for (double offset : {0.0, 5.0}) {
    cairo_rectangle(cr, offset + 0.5, offset * 0.8 + 0.5, 9, 8);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0, 0, 0.5);
    cairo_stroke(cr);
  }
  return TRUE;
}

}  // namespace

GtkWidget* StopSign() { return Picture(32, 32, DrawStop); }
GtkWidget* InformationSign() { return Picture(32, 32, DrawInformation); }
GtkWidget* CopyPicture() { return Picture(15, 13, DrawPages); }

}  // namespace jotwell::desktop
