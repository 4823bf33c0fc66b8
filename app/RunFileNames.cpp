#include "app/RunFileNames.h"

#include <functional>

#include "song/CreateSngUnit.h"

namespace {

constexpr std::size_t kBlockSize = 1 << 16;
constexpr std::uint32_t kFree = 0;

AnsiString Suffix(int number) { return " (" + std::to_string(number) + ")"; }

// The name as the file system gets it (cut to its length limit), folded.
std::string Key(std::string_view fileTitle, std::string_view suffix) {
  return AnsiUpperCase(SongFileStem(fileTitle, suffix));
}

} // namespace

AnsiString TRunFileNames::Claim(std::string_view fileTitle) {
  std::string plain = Key(fileTitle, {});
  if (Take(plain))
    return {};
  // Names only ever join the set, so the smallest free number never falls
  // below the one found last time for this name.
  int &number = FNextNumber.try_emplace(std::move(plain), 2).first->second;
  while (!Take(Key(fileTitle, Suffix(number))))
    ++number;
  return Suffix(number);
}

std::string_view TRunFileNames::NameAt(std::uint32_t slot) const {
  const std::uint32_t place = slot - 1;
  const std::string &block = FBlocks[place / kBlockSize];
  const std::size_t start = place % kBlockSize;
  const std::size_t size = static_cast<unsigned char>(block[start]) << 8 | static_cast<unsigned char>(block[start + 1]);
  return std::string_view(block).substr(start + 2, size);
}

bool TRunFileNames::Take(std::string_view name) {
  if ((FCount + 1) * 4 > FSlots.size() * 3)
    Grow();
  const std::size_t mask = FSlots.size() - 1;
  std::size_t index = std::hash<std::string_view>{}(name) & mask;
  for (; FSlots[index] != kFree; index = (index + 1) & mask)
    if (NameAt(FSlots[index]) == name)
      return false;

  if (FBlocks.empty() || FBlocks.back().size() + 2 + name.size() > kBlockSize) {
    FBlocks.emplace_back();
    FBlocks.back().reserve(kBlockSize);
  }
  std::string &block = FBlocks.back();
  FSlots[index] = static_cast<std::uint32_t>((FBlocks.size() - 1) * kBlockSize + block.size() + 1);
  block.push_back(static_cast<char>(name.size() >> 8));
  block.push_back(static_cast<char>(name.size() & 0xFF));
  block.append(name);
  ++FCount;
  return true;
}

void TRunFileNames::Grow() {
  std::vector<std::uint32_t> slots(FSlots.empty() ? 64 : 2 * FSlots.size(), kFree);
  const std::size_t mask = slots.size() - 1;
  for (const std::uint32_t slot : FSlots)
    if (slot != kFree) {
      std::size_t index = std::hash<std::string_view>{}(NameAt(slot)) & mask;
      while (slots[index] != kFree)
        index = (index + 1) & mask;
      slots[index] = slot;
    }
  FSlots = std::move(slots);
}
