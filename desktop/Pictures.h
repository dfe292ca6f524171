// The pictures the windows draw themselves, so that no icon theme is
// needed: the stop sign, the information sign and the copy button's pages.
#pragma once

#include <gtk/gtk.h>

namespace jotwell::desktop {

// A 32 × 32 red disc with a white diagonal cross.
GtkWidget* StopSign();
// A 32 × 32 blue disc with a white "i".
GtkWidget* InformationSign();
// A 15 × 13 picture of two overlapping pages.
GtkWidget* CopyPicture();

}  // namespace jotwell::desktop
