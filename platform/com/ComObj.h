#pragma once
// Creating COM objects where a failure is an error: the exceptions carry the
// platform's texts.

#include <stdexcept>
#include <string>

#include "platform/com/ComPtr.h"

// A failed COM call; the message is the system's text for the result code.
class EOleSysError : public std::runtime_error {
public:
  EOleSysError(const std::string &message, HRESULT errorCode)
      : std::runtime_error(message), ErrorCode(errorCode) {}
  const HRESULT ErrorCode;
};

// An object that lacks the interface it is asked for.
class EIntfCastError : public std::runtime_error {
public:
  EIntfCastError() : std::runtime_error("Interface not supported") {}
};

std::string SysErrorMessage(HRESULT hr);

// A new object of the class as IUnknown, from an in-process or local server;
// raises EOleSysError "<system text>, ClassID: {...}" when it cannot be made.
ComPtr<IUnknown> CreateComObject(REFCLSID clsid);

template <class I>
ComPtr<I> InterfaceCast(const ComPtr<IUnknown> &object) {
  ComPtr<I> result;
  if (object.As(result) != S_OK)
    throw EIntfCastError();
  return result;
}
