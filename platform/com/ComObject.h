#pragma once
// The shared body of our COM classes: an atomic reference count that starts at
// 0 (the creator takes the first reference) and frees the object when it falls
// back to 0, and a QueryInterface that answers IUnknown, each listed interface
// and the interfaces they extend, and E_NOINTERFACE for everything else.

#include <atomic>
#include <tuple>
#include <type_traits>

#include "platform/com/Unknwn.h"

template <class... Interfaces>
class ComObject : public Interfaces... {
public:
  HRESULT QueryInterface(REFIID riid, void **ppvObject) override {
    if (!ppvObject)
      return E_POINTER;
    *ppvObject = riid == IUnknown::Iid ? static_cast<IUnknown *>(static_cast<FirstInterface *>(this))
                                       : Find(riid);
    if (!*ppvObject)
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }

  ULONG AddRef() override { return ++FRefCount; }

  ULONG Release() override {
    const ULONG count = --FRefCount;
    if (count == 0)
      delete this;
    return count;
  }

protected:
  ComObject() = default;
  virtual ~ComObject() = default;
  ComObject(const ComObject &) = delete;
  ComObject &operator=(const ComObject &) = delete;

private:
  using FirstInterface = std::tuple_element_t<0, std::tuple<Interfaces...>>;

  void *Find(REFIID riid) {
    void *found = nullptr;
    ((found = FindInChain<Interfaces>(static_cast<Interfaces *>(this), riid)) || ...);
    return found;
  }

  template <class I>
  static void *FindInChain(I *object, REFIID riid) {
    if (riid == I::Iid)
      return object;
    if constexpr (std::is_same_v<typename I::Base, IUnknown>)
      return nullptr;
    else
      return FindInChain<typename I::Base>(object, riid);
  }

  std::atomic<ULONG> FRefCount{0};
};
