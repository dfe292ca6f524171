// The numbers of the pictures the library's windows load from its own
// file; the resource script and the code share them.
#pragma once

#define JOTWELL_STOP_ICON 101
#define JOTWELL_COPY_PAGES 102
#define JOTWELL_HAND_CURSOR 103
