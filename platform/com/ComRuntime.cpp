#include "platform/com/ComRuntime.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/com/ComPtr.h"

namespace {

struct ThreadApartment {
  int initCount = 0;
  DWORD model = COINIT_APARTMENTTHREADED;
};

thread_local ThreadApartment apartment;

struct ClassRegistry {
  std::mutex mutex;
  std::map<CLSID, ComClassFactory> factories;
};

ClassRegistry &Registry() {
  static ClassRegistry registry;
  return registry;
}

ComClassFactory FactoryOf(REFCLSID clsid) {
  ClassRegistry &registry = Registry();
  std::lock_guard lock(registry.mutex);
  const auto found = registry.factories.find(clsid);
  return found == registry.factories.end() ? ComClassFactory{} : found->second;
}

} // namespace

void *CoTaskMemAlloc(std::size_t size) { return std::malloc(size); }

void CoTaskMemFree(void *block) { std::free(block); }

LPOLESTR CoTaskMemStrDup(std::u16string_view text) {
  auto *copy = static_cast<LPOLESTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(OLECHAR)));
  if (copy) {
    std::memcpy(copy, text.data(), text.size() * sizeof(OLECHAR));
    copy[text.size()] = 0;
  }
  return copy;
}

HRESULT CoInitializeEx(void *, DWORD coInit) {
  if (apartment.initCount > 0 && apartment.model != coInit)
    return RPC_E_CHANGED_MODE;
  apartment.model = coInit;
  return ++apartment.initCount == 1 ? S_OK : S_FALSE;
}

HRESULT CoInitialize(void *reserved) { return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED); }

void CoUninitialize() {
  if (apartment.initCount > 0)
    --apartment.initCount;
}

int CoInitializeCount() { return apartment.initCount; }

void RegisterComClass(REFCLSID clsid, ComClassFactory factory) {
  ClassRegistry &registry = Registry();
  std::lock_guard lock(registry.mutex);
  registry.factories[clsid] = std::move(factory);
}

void UnregisterComClass(REFCLSID clsid) {
  ClassRegistry &registry = Registry();
  std::lock_guard lock(registry.mutex);
  registry.factories.erase(clsid);
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown *pUnkOuter, DWORD dwClsContext, REFIID riid,
                         void **ppv) {
  if (!ppv)
    return E_POINTER;
  *ppv = nullptr;
  if (apartment.initCount == 0)
    return CO_E_NOTINITIALIZED;
  if (pUnkOuter)
    return CLASS_E_NOAGGREGATION;
  const ComClassFactory factory = FactoryOf(rclsid);
  if (!factory || !(dwClsContext & CLSCTX_INPROC_SERVER))
    return REGDB_E_CLASSNOTREG;
  // The holder's reference frees an object that lacks the interface asked for.
  const ComPtr<IUnknown> object(factory());
  if (!object)
    return E_OUTOFMEMORY;
  return object->QueryInterface(riid, ppv);
}
