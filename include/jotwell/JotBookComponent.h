/* The JotBook component as hosts see it: its identifiers, the dual interface
 * _JotBook and the library's entry points. Usable from C and C++. */
#ifndef JOTWELL_JOTBOOK_COMPONENT_H
#define JOTWELL_JOTBOOK_COMPONENT_H

#include "jotwell/automation.h"

/* {064180FE-2E1A-47B3-ABB0-4EFAC03FF5C9}, version 1.1, locale 0x409 */
JOTWELL_GUID(LIBID_Jotwell, 0x064180FE, 0x2E1A, 0x47B3, 0xAB, 0xB0, 0x4E, 0xFA, 0xC0, 0x3F, 0xF5, 0xC9)
/* {04229DBD-EDDA-4E43-B75F-66A8ECD82D0C} */
JOTWELL_GUID(CLSID_JotBook, 0x04229DBD, 0xEDDA, 0x4E43, 0xB7, 0x5F, 0x66, 0xA8, 0xEC, 0xD8, 0x2D, 0x0C)
/* {A1024EC0-363B-4765-875C-D95170A8EECA} */
JOTWELL_GUID(IID__JotBook, 0xA1024EC0, 0x363B, 0x4765, 0x87, 0x5C, 0xD9, 0x51, 0x70, 0xA8, 0xEE, 0xCA)
/* {CFA7FB03-7641-43D5-BDCD-2C0B115C297D}: the events, a pure dispatch interface */
JOTWELL_GUID(DIID___JotBook, 0xCFA7FB03, 0x7641, 0x43D5, 0xBD, 0xCD, 0x2C, 0x0B, 0x11, 0x5C, 0x29, 0x7D)

#define JOTWELL_PROGID "Jotwell.JotBook"

/* Event dispatch identifiers of __JotBook. */
#define DISPID_SuccessfulWriteToLogFile 1
#define DISPID_ErrorWritingToLogFile 2 /* RunTimeErrorNum: VT_I2 | VT_BYREF */

#ifdef __cplusplus
struct _JotBook;
#else
typedef struct _JotBook _JotBook;
#endif

JOTWELL_INTERFACE(_JotBook, IDispatch)
JOTWELL_IDISPATCH_BASE(_JotBook)
JOTWELL_METHOD(_JotBook, HRESULT, DeleteToRecycleBin, BSTR FileName, VARIANT_BOOL* result)
JOTWELL_METHOD(_JotBook, HRESULT, get_INI_PathToINI, BSTR* result)
JOTWELL_METHOD(_JotBook, HRESULT, put_INI_PathToINI, BSTR PathToINI)
JOTWELL_METHOD(_JotBook, HRESULT, StripPath, BSTR* FullPath, BSTR* result)
JOTWELL_METHOD(_JotBook, HRESULT, INI_WriteString, BSTR* SectionName, BSTR* keyname,
               BSTR* WhatToWrite, LONG* result)
JOTWELL_METHOD(_JotBook, HRESULT, INI_ReadINT, BSTR* SectionName, BSTR* keyname, SHORT* result)
JOTWELL_METHOD(_JotBook, HRESULT, INI_ReadString, BSTR* SectionName, BSTR* keyname, BSTR* result)
JOTWELL_METHOD0(_JotBook, HRESULT, EndLogFileEvents)
JOTWELL_METHOD(_JotBook, HRESULT, WriteEventToLogFile, BSTR* Data)
JOTWELL_METHOD(_JotBook, HRESULT, AddToRecentDocuments, BSTR* FilePath)
JOTWELL_METHOD(_JotBook, HRESULT, get_SizeOfCurrentLogFile, LONG* result)
JOTWELL_METHOD(_JotBook, HRESULT, get_OverwriteLogFile, VARIANT_BOOL* result)
JOTWELL_METHOD(_JotBook, HRESULT, put_OverwriteLogFile, VARIANT_BOOL TrueOrFalse)
JOTWELL_METHOD(_JotBook, HRESULT, get_MaximumLogFileSize, LONG* result)
JOTWELL_METHOD(_JotBook, HRESULT, put_MaximumLogFileSize, LONG Size)
JOTWELL_METHOD(_JotBook, HRESULT, get_LogFileName, BSTR* result)
JOTWELL_METHOD(_JotBook, HRESULT, put_LogFileName, BSTR NameOfLogFile)
JOTWELL_METHOD(_JotBook, HRESULT, get_DoesLogFileExist, VARIANT_BOOL* result)
JOTWELL_METHOD0(_JotBook, HRESULT, DeleteLogFile)
JOTWELL_METHOD(_JotBook, HRESULT, CopyFiles, BSTR* Source, BSTR* Destination, BSTR* FileSpec,
               LONG* result)
JOTWELL_METHOD(_JotBook, HRESULT, DiskFreeSpace, CY* result)
JOTWELL_END_INTERFACE(_JotBook)

#ifndef _WIN32
#ifdef __cplusplus
extern "C" {
#endif
/* The in-process server's entry points, as the platform's loader calls them. */
JOTWELL_EXPORT HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv);
JOTWELL_EXPORT HRESULT DllCanUnloadNow(void);
JOTWELL_EXPORT HRESULT DllRegisterServer(void);
JOTWELL_EXPORT HRESULT DllUnregisterServer(void);
#ifdef __cplusplus
}
#endif
#endif

#endif /* JOTWELL_JOTBOOK_COMPONENT_H */
