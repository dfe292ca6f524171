/* The component object contract a host and the library share: GUIDs, result
 * codes, BSTR strings, VARIANT values and the interfaces the JotBook
 * component speaks. Usable from C and C++. On Windows the platform's own
 * headers provide all of it; elsewhere this header defines the same types
 * with the same binary layout, and the library exports the string and
 * variant helpers under the platform's names, so a host written for the
 * contract builds unchanged. */
#ifndef JOTWELL_AUTOMATION_H
#define JOTWELL_AUTOMATION_H

#include "jotwell/Export.h"

#ifdef _WIN32
#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>
#include <olectl.h>
#else

#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#define STDMETHODCALLTYPE
#define STDAPICALLTYPE


typedef int32_t HRESULT;
typedef int32_t SCODE;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef uint32_t DWORD;
typedef uint16_t WORD;
typedef uint16_t USHORT;
typedef int16_t SHORT;
typedef uint8_t BYTE;
typedef int32_t INT;
typedef uint32_t UINT;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef float FLOAT;
typedef double DOUBLE;
typedef int32_t BOOL;
#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif
typedef DWORD LCID;
typedef LONG DISPID;
typedef USHORT VARTYPE;
typedef SHORT VARIANT_BOOL;
typedef double DATE;
typedef char16_t OLECHAR;
typedef OLECHAR* LPOLESTR;
typedef const OLECHAR* LPCOLESTR;
/* Points at the first character; the byte length sits in the four bytes
 * before it and a NUL follows the last character. */
typedef OLECHAR* BSTR;

typedef struct _GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
} GUID;
typedef GUID IID;
typedef GUID CLSID;
#ifdef __cplusplus
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;
typedef const GUID& REFGUID;
#else
typedef const IID* REFIID;
typedef const CLSID* REFCLSID;
typedef const GUID* REFGUID;
#endif

#ifdef __cplusplus
inline bool operator==(REFGUID a, REFGUID b) { return __builtin_memcmp(&a, &b, sizeof(GUID)) == 0; }
#endif

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOTIMPL ((HRESULT)0x80004001L)
#define E_NOINTERFACE ((HRESULT)0x80004002L)
#define E_POINTER ((HRESULT)0x80004003L)
#define E_FAIL ((HRESULT)0x80004005L)
#define E_UNEXPECTED ((HRESULT)0x8000FFFFL)
#define E_OUTOFMEMORY ((HRESULT)0x8007000EL)
#define E_INVALIDARG ((HRESULT)0x80070057L)
#define DISP_E_UNKNOWNINTERFACE ((HRESULT)0x80020001L)
#define DISP_E_MEMBERNOTFOUND ((HRESULT)0x80020003L)
#define DISP_E_PARAMNOTFOUND ((HRESULT)0x80020004L)
#define DISP_E_TYPEMISMATCH ((HRESULT)0x80020005L)
#define DISP_E_UNKNOWNNAME ((HRESULT)0x80020006L)
#define DISP_E_NONAMEDARGS ((HRESULT)0x80020007L)
#define DISP_E_BADVARTYPE ((HRESULT)0x80020008L)
#define DISP_E_EXCEPTION ((HRESULT)0x80020009L)
#define DISP_E_OVERFLOW ((HRESULT)0x8002000AL)
#define DISP_E_BADINDEX ((HRESULT)0x8002000BL)
#define DISP_E_BADPARAMCOUNT ((HRESULT)0x8002000EL)
#define DISP_E_PARAMNOTOPTIONAL ((HRESULT)0x8002000FL)
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110L)
#define CLASS_E_CLASSNOTAVAILABLE ((HRESULT)0x80040111L)
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154L)
#define CONNECT_E_NOCONNECTION ((HRESULT)0x80040200L)
#define CONNECT_E_CANNOTCONNECT ((HRESULT)0x80040202L)
#define SELFREG_E_CLASS ((HRESULT)0x80040201L)
#define CO_E_CLASSSTRING ((HRESULT)0x800401F3L)
#define CO_E_DLLNOTFOUND ((HRESULT)0x800401F8L)
#define CO_E_ERRORINDLL ((HRESULT)0x800401F9L)
#define RPC_E_WRONG_THREAD ((HRESULT)0x8001010EL)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

#define VARIANT_TRUE ((VARIANT_BOOL)-1)
#define VARIANT_FALSE ((VARIANT_BOOL)0)

#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4
#define DISPATCH_PROPERTYPUTREF 0x8
#define DISPID_UNKNOWN (-1)
#define DISPID_VALUE 0
#define DISPID_PROPERTYPUT (-3)

enum VARENUM {
  VT_EMPTY = 0, VT_NULL = 1, VT_I2 = 2, VT_I4 = 3, VT_R4 = 4, VT_R8 = 5, VT_CY = 6,
  VT_DATE = 7, VT_BSTR = 8, VT_DISPATCH = 9, VT_ERROR = 10, VT_BOOL = 11, VT_VARIANT = 12,
  VT_UNKNOWN = 13, VT_DECIMAL = 14, VT_I1 = 16, VT_UI1 = 17, VT_UI2 = 18, VT_UI4 = 19,
  VT_I8 = 20, VT_UI8 = 21, VT_INT = 22, VT_UINT = 23,
  VT_ARRAY = 0x2000, VT_BYREF = 0x4000, VT_TYPEMASK = 0xfff
};

typedef union tagCY {
  struct {
    ULONG Lo;
    LONG Hi;
  };
  LONGLONG int64;
} CY;

#ifdef __cplusplus
struct IUnknown;
struct IDispatch;
struct ITypeInfo;
struct IConnectionPoint;
struct IConnectionPointContainer;
struct IEnumConnections;
struct IEnumConnectionPoints;
#else
typedef struct IUnknown IUnknown;
typedef struct IDispatch IDispatch;
typedef struct ITypeInfo ITypeInfo;
typedef struct IClassFactory IClassFactory;
typedef struct IConnectionPoint IConnectionPoint;
typedef struct IConnectionPointContainer IConnectionPointContainer;
typedef struct IEnumConnections IEnumConnections;
typedef struct IEnumConnectionPoints IEnumConnectionPoints;
typedef struct ISupportErrorInfo ISupportErrorInfo;
typedef struct IProvideClassInfo IProvideClassInfo;
#endif

/* 24 bytes on 64-bit systems, 16 on 32-bit ones, as on Windows. */
typedef struct tagVARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONGLONG llVal;
    LONG lVal;
    BYTE bVal;
    SHORT iVal;
    FLOAT fltVal;
    DOUBLE dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    CY cyVal;
    DATE date;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    BYTE* pbVal;
    SHORT* piVal;
    LONG* plVal;
    LONGLONG* pllVal;
    FLOAT* pfltVal;
    DOUBLE* pdblVal;
    VARIANT_BOOL* pboolVal;
    SCODE* pscode;
    CY* pcyVal;
    DATE* pdate;
    BSTR* pbstrVal;
    struct tagVARIANT* pvarVal;
    void* byref;
    char cVal;
    USHORT uiVal;
    ULONG ulVal;
    ULONGLONG ullVal;
    INT intVal;
    UINT uintVal;
    char* pcVal;
    USHORT* puiVal;
    ULONG* pulVal;
    ULONGLONG* pullVal;
    INT* pintVal;
    UINT* puintVal;
    struct {
      void* pvRecord;
      void* pRecInfo;
    } brecVal;
  };
} VARIANT;
typedef VARIANT VARIANTARG;

typedef struct tagDISPPARAMS {
  VARIANTARG* rgvarg;
  DISPID* rgdispidNamedArgs;
  UINT cArgs;
  UINT cNamedArgs;
} DISPPARAMS;

typedef struct tagEXCEPINFO {
  WORD wCode;
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  void* pvReserved;
  HRESULT(STDMETHODCALLTYPE* pfnDeferredFillIn)(struct tagEXCEPINFO*);
  SCODE scode;
} EXCEPINFO;

typedef struct tagCONNECTDATA {
  IUnknown* pUnk;
  DWORD dwCookie;
} CONNECTDATA;

#ifdef __cplusplus
extern "C" {
#endif
JOTWELL_EXPORT BSTR SysAllocString(const OLECHAR* text);
JOTWELL_EXPORT BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
JOTWELL_EXPORT void SysFreeString(BSTR text);
JOTWELL_EXPORT UINT SysStringLen(BSTR text);
JOTWELL_EXPORT void VariantInit(VARIANTARG* value);
JOTWELL_EXPORT HRESULT VariantClear(VARIANTARG* value);
#ifdef __cplusplus
}
#endif

#endif /* _WIN32 */

/* Defines a GUID in a header, for C and C++ alike. */
#ifdef __cplusplus
#define JOTWELL_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
  inline constexpr GUID name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}};
#else
#define JOTWELL_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
  static const GUID name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}};
#endif

/* Declares an interface once for both languages: in C++ an abstract class
 * over the function table, in C a struct of function pointers with the
 * object as first argument. In C each interface's table starts with its
 * bases' methods, which JOTWELL_IUNKNOWN_BASE and JOTWELL_IDISPATCH_BASE spell
 * out (and C++ inherits). */
#ifdef __cplusplus
#define JOTWELL_INTERFACE(name, base) struct name : public base {
#define JOTWELL_ROOT_INTERFACE(name) struct name {
#define JOTWELL_METHOD(name, ret, method, ...) \
  virtual ret STDMETHODCALLTYPE method(__VA_ARGS__) = 0;
#define JOTWELL_METHOD0(name, ret, method) virtual ret STDMETHODCALLTYPE method() = 0;
#define JOTWELL_IUNKNOWN_BASE(name)
#define JOTWELL_IDISPATCH_BASE(name)
#define JOTWELL_END_INTERFACE(name) };
#else
#define JOTWELL_INTERFACE(name, base) typedef struct name##Vtbl {
#define JOTWELL_ROOT_INTERFACE(name) typedef struct name##Vtbl {
#define JOTWELL_METHOD(name, ret, method, ...) \
  ret(STDMETHODCALLTYPE* method)(name * This, __VA_ARGS__);
#define JOTWELL_METHOD0(name, ret, method) ret(STDMETHODCALLTYPE* method)(name * This);
#define JOTWELL_IUNKNOWN_BASE(name) JOTWELL_IUNKNOWN_METHODS(name)
#define JOTWELL_IDISPATCH_BASE(name) JOTWELL_IUNKNOWN_METHODS(name) JOTWELL_IDISPATCH_METHODS(name)
#define JOTWELL_END_INTERFACE(name) \
  } name##Vtbl;                     \
  struct name {                     \
    const name##Vtbl* lpVtbl;       \
  };
#endif

#define JOTWELL_IUNKNOWN_METHODS(name)                                    \
  JOTWELL_METHOD(name, HRESULT, QueryInterface, REFIID riid, void** ppv) \
  JOTWELL_METHOD0(name, ULONG, AddRef)                                   \
  JOTWELL_METHOD0(name, ULONG, Release)

#define JOTWELL_IDISPATCH_METHODS(name)                                                       \
  JOTWELL_METHOD(name, HRESULT, GetTypeInfoCount, UINT * pctinfo)                             \
  JOTWELL_METHOD(name, HRESULT, GetTypeInfo, UINT iTInfo, LCID lcid, ITypeInfo * *ppTInfo)    \
  JOTWELL_METHOD(name, HRESULT, GetIDsOfNames, REFIID riid, LPOLESTR * rgszNames, UINT cNames, \
                 LCID lcid, DISPID * rgDispId)                                                \
  JOTWELL_METHOD(name, HRESULT, Invoke, DISPID dispIdMember, REFIID riid, LCID lcid,           \
                 WORD wFlags, DISPPARAMS * pDispParams, VARIANT * pVarResult,                 \
                 EXCEPINFO * pExcepInfo, UINT * puArgErr)

#ifndef _WIN32
JOTWELL_ROOT_INTERFACE(IUnknown)
JOTWELL_IUNKNOWN_METHODS(IUnknown)
JOTWELL_END_INTERFACE(IUnknown)

JOTWELL_INTERFACE(IDispatch, IUnknown)
JOTWELL_IUNKNOWN_BASE(IDispatch)
JOTWELL_IDISPATCH_METHODS(IDispatch)
JOTWELL_END_INTERFACE(IDispatch)

/* Only its reference counting: no type library is kept here, so no type
 * information is ever handed out. */
JOTWELL_INTERFACE(ITypeInfo, IUnknown)
JOTWELL_IUNKNOWN_BASE(ITypeInfo)
JOTWELL_END_INTERFACE(ITypeInfo)

JOTWELL_INTERFACE(IClassFactory, IUnknown)
JOTWELL_IUNKNOWN_BASE(IClassFactory)
JOTWELL_METHOD(IClassFactory, HRESULT, CreateInstance, IUnknown* pUnkOuter, REFIID riid,
               void** ppvObject)
JOTWELL_METHOD(IClassFactory, HRESULT, LockServer, BOOL fLock)
JOTWELL_END_INTERFACE(IClassFactory)

JOTWELL_INTERFACE(IEnumConnections, IUnknown)
JOTWELL_IUNKNOWN_BASE(IEnumConnections)
JOTWELL_METHOD(IEnumConnections, HRESULT, Next, ULONG cConnections, CONNECTDATA* rgcd,
               ULONG* pcFetched)
JOTWELL_METHOD(IEnumConnections, HRESULT, Skip, ULONG cConnections)
JOTWELL_METHOD0(IEnumConnections, HRESULT, Reset)
JOTWELL_METHOD(IEnumConnections, HRESULT, Clone, IEnumConnections** ppEnum)
JOTWELL_END_INTERFACE(IEnumConnections)

JOTWELL_INTERFACE(IConnectionPoint, IUnknown)
JOTWELL_IUNKNOWN_BASE(IConnectionPoint)
JOTWELL_METHOD(IConnectionPoint, HRESULT, GetConnectionInterface, IID* pIID)
JOTWELL_METHOD(IConnectionPoint, HRESULT, GetConnectionPointContainer,
               IConnectionPointContainer** ppCPC)
JOTWELL_METHOD(IConnectionPoint, HRESULT, Advise, IUnknown* pUnkSink, DWORD* pdwCookie)
JOTWELL_METHOD(IConnectionPoint, HRESULT, Unadvise, DWORD dwCookie)
JOTWELL_METHOD(IConnectionPoint, HRESULT, EnumConnections, IEnumConnections** ppEnum)
JOTWELL_END_INTERFACE(IConnectionPoint)

JOTWELL_INTERFACE(IEnumConnectionPoints, IUnknown)
JOTWELL_IUNKNOWN_BASE(IEnumConnectionPoints)
JOTWELL_METHOD(IEnumConnectionPoints, HRESULT, Next, ULONG cConnections,
               IConnectionPoint** ppCP, ULONG* pcFetched)
JOTWELL_METHOD(IEnumConnectionPoints, HRESULT, Skip, ULONG cConnections)
JOTWELL_METHOD0(IEnumConnectionPoints, HRESULT, Reset)
JOTWELL_METHOD(IEnumConnectionPoints, HRESULT, Clone, IEnumConnectionPoints** ppEnum)
JOTWELL_END_INTERFACE(IEnumConnectionPoints)

JOTWELL_INTERFACE(IConnectionPointContainer, IUnknown)
JOTWELL_IUNKNOWN_BASE(IConnectionPointContainer)
JOTWELL_METHOD(IConnectionPointContainer, HRESULT, EnumConnectionPoints,
               IEnumConnectionPoints** ppEnum)
JOTWELL_METHOD(IConnectionPointContainer, HRESULT, FindConnectionPoint, REFIID riid,
               IConnectionPoint** ppCP)
JOTWELL_END_INTERFACE(IConnectionPointContainer)

JOTWELL_INTERFACE(ISupportErrorInfo, IUnknown)
JOTWELL_IUNKNOWN_BASE(ISupportErrorInfo)
JOTWELL_METHOD(ISupportErrorInfo, HRESULT, InterfaceSupportsErrorInfo, REFIID riid)
JOTWELL_END_INTERFACE(ISupportErrorInfo)

JOTWELL_INTERFACE(IProvideClassInfo, IUnknown)
JOTWELL_IUNKNOWN_BASE(IProvideClassInfo)
JOTWELL_METHOD(IProvideClassInfo, HRESULT, GetClassInfo, ITypeInfo** ppTI)
JOTWELL_END_INTERFACE(IProvideClassInfo)

/* The standard interface identifiers. */
JOTWELL_GUID(IID_NULL, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)
JOTWELL_GUID(IID_IUnknown, 0x00000000, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46)
JOTWELL_GUID(IID_IClassFactory, 0x00000001, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46)
JOTWELL_GUID(IID_IDispatch, 0x00020400, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46)
JOTWELL_GUID(IID_IProvideClassInfo, 0xB196B283, 0xBAB4, 0x101A, 0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07)
JOTWELL_GUID(IID_IConnectionPointContainer, 0xB196B284, 0xBAB4, 0x101A, 0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07)
JOTWELL_GUID(IID_IEnumConnectionPoints, 0xB196B285, 0xBAB4, 0x101A, 0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07)
JOTWELL_GUID(IID_IConnectionPoint, 0xB196B286, 0xBAB4, 0x101A, 0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07)
JOTWELL_GUID(IID_IEnumConnections, 0xB196B287, 0xBAB4, 0x101A, 0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07)
JOTWELL_GUID(IID_ISupportErrorInfo, 0xDF0B3D60, 0x548F, 0x101B, 0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19)
#endif /* !_WIN32 */

#endif /* JOTWELL_AUTOMATION_H */
