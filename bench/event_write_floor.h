// The literal sequence of one event write's steps in plain C, each step
// making its own system calls: the baseline the event-write benchmark
// compares JotBook against.
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

// Makes the calls of one event write to `path`, whose volume is `folder`:
// existence test (open read-only, close), free-space query, size query,
// open for appending, exclusive lock, one write of `line`, close. Returns 0,
// or -1 when a call failed.
int event_write_floor(const char* path, const char* folder, const char* line, size_t length);

#ifdef __cplusplus
}
#endif
