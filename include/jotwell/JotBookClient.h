/* Creating a registered component object the way a host does: find the
 * class in the per-user registration record, load its library, ask its
 * class factory. Usable from C and C++. */
#ifndef JOTWELL_JOTBOOK_CLIENT_H
#define JOTWELL_JOTBOOK_CLIENT_H

#include "jotwell/automation.h"

#ifdef __cplusplus
extern "C" {
#endif

/* `name` is a programmatic name ("Jotwell.JotBook") or a class identifier
 * in braces. Answers REGDB_E_CLASSNOTREG for a class the record does not
 * hold, CO_E_CLASSSTRING for a malformed identifier, CO_E_DLLNOTFOUND when
 * the registered library cannot be loaded, or what the factory answers. */
JOTWELL_EXPORT HRESULT JotwellCreateObject(const char* name, REFIID riid, void** object);

#ifdef __cplusplus
}
#endif

#endif /* JOTWELL_JOTBOOK_CLIENT_H */
