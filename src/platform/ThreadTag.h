// Which thread is calling: a value that tells each live thread from every
// other, cheap enough to check on every call a component object answers.
#pragma once

#include <thread>

namespace jotwell::platform {

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__aarch64__)) && !defined(_WIN32)
// The thread's control block, one register read instead of a call.
using ThreadTag = const void*;
inline ThreadTag ThisThreadTag() { return __builtin_thread_pointer(); }
#else
using ThreadTag = std::thread::id;
inline ThreadTag ThisThreadTag() { return std::this_thread::get_id(); }
#endif

}  // namespace jotwell::platform
