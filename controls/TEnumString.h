#pragma once
// TEnumString hands the strings of a Unicode list one after another to the
// shell through IEnumString. The list is neither owned nor changed, and is
// read live: strings added or removed show in the next call. Its owner keeps
// it alive as long as any enumerator over it is in use.

#include <cstdint>

#include "controls/TTntStrings.h"
#include "platform/com/ComObject.h"

class TEnumString : public ComObject<IEnumString> {
public:
  explicit TEnumString(const TTntStrings &strings);

  HRESULT Next(ULONG celt, LPOLESTR *rgelt, ULONG *pceltFetched) override;
  HRESULT Skip(ULONG celt) override;
  HRESULT Reset() override;
  HRESULT Clone(IEnumString **ppenum) override;

protected:
  // The object Clone hands out, at position 0; a subclass that owns its list
  // makes a copy that owns its own.
  virtual TEnumString *NewEnumerator() const;

private:
  const TTntStrings &FStrings;
  std::int32_t FCurrIndex = 0;
};
