// The string and variant helpers that Windows' automation library provides,
// with the same names and contracts, for hosts and for the binding.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "jotwell/automation.h"

namespace {

// The length prefix sits right before the text; eight header bytes keep the
// text as aligned as the allocation.
constexpr std::size_t kHeader = 8;
constexpr UINT kMaxLength = (UINT32_MAX - kHeader - sizeof(OLECHAR)) / sizeof(OLECHAR);

std::uint32_t* PrefixOf(BSTR text) {
  return reinterpret_cast<std::uint32_t*>(reinterpret_cast<char*>(text) - sizeof(std::uint32_t));
}

}  // namespace

extern "C" {

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  if (length > kMaxLength) return nullptr;
  std::size_t bytes = std::size_t{length} * sizeof(OLECHAR);
  char* block = static_cast<char*>(std::malloc(kHeader + bytes + sizeof(OLECHAR)));
  if (block == nullptr) return nullptr;
  BSTR result = reinterpret_cast<BSTR>(block + kHeader);
  *PrefixOf(result) = static_cast<std::uint32_t>(bytes);
  if (text != nullptr)
    std::memcpy(result, text, bytes);
  else
    std::memset(result, 0, bytes);
  result[length] = 0;
  return result;
}

BSTR SysAllocString(const OLECHAR* text) {
  if (text == nullptr) return nullptr;
  UINT length = 0;
  while (text[length] != 0) ++length;
  return SysAllocStringLen(text, length);
}

void SysFreeString(BSTR text) {
  if (text != nullptr) std::free(reinterpret_cast<char*>(text) - kHeader);
}

UINT SysStringLen(BSTR text) { return text == nullptr ? 0 : *PrefixOf(text) / sizeof(OLECHAR); }

void VariantInit(VARIANTARG* value) { value->vt = VT_EMPTY; }

HRESULT VariantClear(VARIANTARG* value) {
  if (value->vt & (VT_BYREF | VT_ARRAY)) {
    if (value->vt & VT_ARRAY) return DISP_E_BADVARTYPE;
  } else if (value->vt == VT_BSTR) {
    SysFreeString(value->bstrVal);
  } else if (value->vt == VT_DISPATCH || value->vt == VT_UNKNOWN) {
    if (value->punkVal != nullptr) value->punkVal->Release();
  }
  value->vt = VT_EMPTY;
  return S_OK;
}

}  // extern "C"
