#pragma once
// The basic COM types: result codes, IUnknown and the string enumerator
// through which the shell reads completion lists.

#include <cstdint>

#include "platform/com/Guid.h"

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using DWORD = std::uint32_t;
using BOOL = int;
using OLECHAR = char16_t;
using LPOLESTR = OLECHAR *;
using LPCOLESTR = const OLECHAR *;

constexpr HRESULT MakeHResult(std::uint32_t code) { return static_cast<HRESULT>(code); }

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_UNEXPECTED = MakeHResult(0x8000FFFF);
inline constexpr HRESULT E_NOINTERFACE = MakeHResult(0x80004002);
inline constexpr HRESULT E_POINTER = MakeHResult(0x80004003);
inline constexpr HRESULT E_FAIL = MakeHResult(0x80004005);
inline constexpr HRESULT E_OUTOFMEMORY = MakeHResult(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = MakeHResult(0x80070057);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = MakeHResult(0x80040110);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = MakeHResult(0x80040154);
inline constexpr HRESULT CO_E_NOTINITIALIZED = MakeHResult(0x800401F0);
inline constexpr HRESULT RPC_E_CHANGED_MODE = MakeHResult(0x80010106);

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

// Every interface names its identifier (Iid) and the interface it extends
// (Base), so that QueryInterface can answer for the whole chain.
struct IUnknown {
  static constexpr IID Iid = MakeGuid("{00000000-0000-0000-C000-000000000046}");

  virtual HRESULT QueryInterface(REFIID riid, void **ppvObject) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

protected:
  ~IUnknown() = default;
};

struct IEnumString : IUnknown {
  using Base = IUnknown;
  static constexpr IID Iid = MakeGuid("{00000101-0000-0000-C000-000000000046}");

  // Hands out up to celt strings, each in its own CoTaskMemAlloc block that the
  // caller frees; S_OK when all celt were handed out, S_FALSE when fewer.
  virtual HRESULT Next(ULONG celt, LPOLESTR *rgelt, ULONG *pceltFetched) = 0;
  virtual HRESULT Skip(ULONG celt) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumString **ppenum) = 0;

protected:
  ~IEnumString() = default;
};
