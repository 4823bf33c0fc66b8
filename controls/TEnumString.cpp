#include "controls/TEnumString.h"

#include "platform/com/ComRuntime.h"

TEnumString::TEnumString(const TTntStrings &strings) : FStrings(strings) {}

HRESULT TEnumString::Next(ULONG celt, LPOLESTR *rgelt, ULONG *pceltFetched) {
  if (celt > 0 && !rgelt)
    return E_POINTER;
  const int count = FStrings.Count();
  ULONG fetched = 0;
  while (fetched < celt && FCurrIndex < count) {
    LPOLESTR copy = CoTaskMemStrDup(FStrings.Strings(FCurrIndex));
    if (!copy) {
      // Nothing is handed out by a call that fails half-way.
      while (fetched > 0) {
        CoTaskMemFree(rgelt[--fetched]);
        --FCurrIndex;
      }
      if (pceltFetched)
        *pceltFetched = 0;
      return E_OUTOFMEMORY;
    }
    rgelt[fetched++] = copy;
    ++FCurrIndex;
  }
  if (pceltFetched)
    *pceltFetched = fetched;
  return fetched == celt ? S_OK : S_FALSE;
}

HRESULT TEnumString::Skip(ULONG celt) {
  // Counted wide, so that a huge celt rewinds instead of wrapping to a
  // negative position.
  const std::int64_t position = std::int64_t{FCurrIndex} + celt;
  if (position < FStrings.Count()) {
    FCurrIndex = static_cast<std::int32_t>(position);
    return S_OK;
  }
  FCurrIndex = 0;
  return S_FALSE;
}

HRESULT TEnumString::Reset() {
  FCurrIndex = 0;
  return S_OK;
}

HRESULT TEnumString::Clone(IEnumString **ppenum) {
  if (!ppenum)
    return E_POINTER;
  *ppenum = nullptr;
  TEnumString *clone = NewEnumerator();
  void *reference = nullptr;
  clone->QueryInterface(IEnumString::Iid, &reference);
  *ppenum = static_cast<IEnumString *>(reference);
  clone->FCurrIndex = FCurrIndex;
  return S_OK;
}

TEnumString *TEnumString::NewEnumerator() const { return new TEnumString(FStrings); }
