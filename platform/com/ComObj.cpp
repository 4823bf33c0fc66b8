#include "platform/com/ComObj.h"

#include <cstdio>

#include "platform/com/ComRuntime.h"

std::string SysErrorMessage(HRESULT hr) {
  switch (hr) {
  case E_UNEXPECTED: return "Catastrophic failure";
  case E_NOINTERFACE: return "No such interface supported";
  case E_POINTER: return "Invalid pointer";
  case E_FAIL: return "Unspecified error";
  case E_OUTOFMEMORY: return "Not enough memory resources are available to complete this operation";
  case E_INVALIDARG: return "The parameter is incorrect";
  case CLASS_E_NOAGGREGATION: return "Class does not support aggregation (or class object is remote)";
  case REGDB_E_CLASSNOTREG: return "Class not registered";
  case CO_E_NOTINITIALIZED: return "CoInitialize has not been called";
  case RPC_E_CHANGED_MODE: return "Cannot change thread mode after it is set";
  }
  char text[32];
  std::snprintf(text, sizeof text, "Error 0x%08X", static_cast<unsigned>(hr));
  return text;
}

ComPtr<IUnknown> CreateComObject(REFCLSID clsid) {
  void *object = nullptr;
  const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                      IUnknown::Iid, &object);
  if (FAILED(hr))
    throw EOleSysError(SysErrorMessage(hr) + ", ClassID: " + GUIDToString(clsid), hr);
  return ComPtr<IUnknown>::Attach(static_cast<IUnknown *>(object));
}
