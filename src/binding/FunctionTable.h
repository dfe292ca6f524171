// _JotBook's function table, built from the member table: IDispatch's seven
// operations, then one adapter per member in table order.
#pragma once

#include <array>

#include "binding/MemberTable.h"

namespace jotwell::binding {

class Object;
struct DualTable;

// What a host holds as _JotBook (and IDispatch, IUnknown): the table
// pointer first, as the binary contract wants, then its object.
struct DualView {
  const DualTable* table;
  Object* object;
};

using AnyFunction = void (*)();

struct DualTable {
  HRESULT(STDMETHODCALLTYPE* QueryInterface)(DualView*, REFIID, void**);
  ULONG(STDMETHODCALLTYPE* AddRef)(DualView*);
  ULONG(STDMETHODCALLTYPE* Release)(DualView*);
  HRESULT(STDMETHODCALLTYPE* GetTypeInfoCount)(DualView*, UINT*);
  HRESULT(STDMETHODCALLTYPE* GetTypeInfo)(DualView*, UINT, LCID, ITypeInfo**);
  HRESULT(STDMETHODCALLTYPE* GetIDsOfNames)(DualView*, REFIID, LPOLESTR*, UINT, LCID, DISPID*);
  HRESULT(STDMETHODCALLTYPE* Invoke)(DualView*, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                     EXCEPINFO*, UINT*);
  // Each has the member's own signature.
  std::array<AnyFunction, kMembers.size()> members;
};

const DualTable& DualFunctionTable();

}  // namespace jotwell::binding
