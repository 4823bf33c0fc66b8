#pragma once
// A counted reference to a COM interface: copying adds a reference, and each
// reference held is released exactly once (on Reset, reassignment or
// destruction).

#include <utility>

#include "platform/com/Unknwn.h"

template <class T>
class ComPtr {
public:
  ComPtr() = default;
  // Takes a reference of its own on the object.
  explicit ComPtr(T *object) : FObject(object) {
    if (FObject)
      FObject->AddRef();
  }
  ComPtr(const ComPtr &other) : ComPtr(other.FObject) {}
  ComPtr(ComPtr &&other) noexcept : FObject(std::exchange(other.FObject, nullptr)) {}
  ComPtr &operator=(ComPtr other) noexcept {
    std::swap(FObject, other.FObject);
    return *this;
  }
  ~ComPtr() { Reset(); }

  // Adopts a reference that the caller already holds, such as the one an
  // out-parameter of QueryInterface or CoCreateInstance hands over.
  static ComPtr Attach(T *object) {
    ComPtr result;
    result.FObject = object;
    return result;
  }

  void Reset() {
    if (T *object = std::exchange(FObject, nullptr))
      object->Release();
  }

  T *Get() const { return FObject; }
  T *operator->() const { return FObject; }
  explicit operator bool() const { return FObject != nullptr; }

  template <class I>
  HRESULT As(ComPtr<I> &result) const {
    void *object = nullptr;
    const HRESULT hr = FObject->QueryInterface(I::Iid, &object);
    result = ComPtr<I>::Attach(SUCCEEDED(hr) ? static_cast<I *>(object) : nullptr);
    return hr;
  }

private:
  T *FObject = nullptr;
};
