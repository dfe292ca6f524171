/* Marks what the library exports; everything else in it stays hidden. The
 * Windows build exports its entry points through a module definition. */
#ifndef JOTWELL_EXPORT_H
#define JOTWELL_EXPORT_H

#ifdef _WIN32
#define JOTWELL_EXPORT
#define JOTWELL_HIDDEN
#else
#define JOTWELL_EXPORT __attribute__((visibility("default")))
/* For the private parts of exported classes. */
#define JOTWELL_HIDDEN __attribute__((visibility("hidden")))
#endif

#endif /* JOTWELL_EXPORT_H */
