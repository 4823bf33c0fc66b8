#pragma once
// The COM run-time functions: task memory, per-thread initialisation, and
// CoCreateInstance over a registry of the classes this program provides.

#include <cstddef>
#include <functional>
#include <string_view>

#include "platform/com/Unknwn.h"

inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;

inline constexpr DWORD COINIT_MULTITHREADED = 0x0;
inline constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;

void *CoTaskMemAlloc(std::size_t size);
void CoTaskMemFree(void *block);

// A zero-terminated copy in task memory that the receiver frees with
// CoTaskMemFree; null when no memory is left.
LPOLESTR CoTaskMemStrDup(std::u16string_view text);

// Per thread: S_OK for the first call, S_FALSE for each further one, and
// RPC_E_CHANGED_MODE (nothing counted) when the thread is already
// initialised in the other concurrency model. Every successful call waits for
// its own CoUninitialize.
HRESULT CoInitializeEx(void *reserved, DWORD coInit);
HRESULT CoInitialize(void *reserved);
void CoUninitialize();
// How many successful initialisations on this thread still wait for their
// CoUninitialize.
int CoInitializeCount();

// Makes a new object of the class, holding no reference yet.
using ComClassFactory = std::function<IUnknown *()>;

// Registering a class again replaces its factory.
void RegisterComClass(REFCLSID clsid, ComClassFactory factory);
void UnregisterComClass(REFCLSID clsid);

// Our classes are in-process servers without aggregation.
HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown *pUnkOuter, DWORD dwClsContext, REFIID riid,
                         void **ppv);
