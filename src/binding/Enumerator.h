// The standard enumerators over a snapshot: IEnumConnections and
// IEnumConnectionPoints. Each holds a reference on what it hands out.
#pragma once

#include <vector>

#include "binding/RefCounted.h"

namespace jotwell::binding {

inline void AddRefOf(const CONNECTDATA& item) { item.pUnk->AddRef(); }
inline void ReleaseOf(const CONNECTDATA& item) { item.pUnk->Release(); }
inline void AddRefOf(IConnectionPoint* item) { item->AddRef(); }
inline void ReleaseOf(IConnectionPoint* item) { item->Release(); }

template <class Interface, class Item, const IID& kIid>
class Enumerator final : public RefCounted<Interface> {
 public:
  // Takes the items' references over.
  explicit Enumerator(std::vector<Item> items, std::size_t next = 0)
      : items_(std::move(items)), next_(next) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG count, Item* out, ULONG* fetched) override {
    if (out == nullptr || (count != 1 && fetched == nullptr)) return E_POINTER;
    ULONG n = 0;
    for (; n < count && next_ < items_.size(); ++n) AddRefOf(out[n] = items_[next_++]);
    if (fetched != nullptr) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    std::size_t left = items_.size() - next_;
    next_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    next_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(Interface** out) override {
    if (out == nullptr) return E_POINTER;
    auto* clone = new Enumerator(items_, next_);
    for (const Item& item : items_) AddRefOf(item);
    *out = clone;
    return S_OK;
  }

 private:
  ~Enumerator() override {
    for (const Item& item : items_) ReleaseOf(item);
  }
  const IID& OwnIid() const override { return kIid; }

  std::vector<Item> items_;
  std::size_t next_;
};

using ConnectionEnumerator = Enumerator<IEnumConnections, CONNECTDATA, IID_IEnumConnections>;
using ConnectionPointEnumerator =
    Enumerator<IEnumConnectionPoints, IConnectionPoint*, IID_IEnumConnectionPoints>;

}  // namespace jotwell::binding
