// libFuzzer target: an Access file image is opened, its tables and views are
// listed, and every value of every row of each is read, all in this process,
// so that the sanitizers see every fault of the reader and libFuzzer every hang.

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include "platform/ado/MdbDatabase.h"

namespace {

void ReadEverything(const std::string &fileName) {
  TMdbDatabase database(fileName);
  for (const AnsiString &name : database.TableNames()) {
    try {
      const std::unique_ptr<TMdbRows> rows = database.OpenRows(name);
      while (rows->Next())
        for (std::size_t i = 0; i < rows->Columns().size(); ++i)
          rows->Value(static_cast<int>(i));
    } catch (const EDatabaseError &) {
      // one unreadable table does not stop the others
    }
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  // libmdb reads files only; a memory file spares the disk.
  const int file = memfd_create("fuzz.mdb", 0);
  if (file < 0 || write(file, data, size) != static_cast<ssize_t>(size))
    __builtin_trap();
  try {
    ReadEverything("/proc/self/fd/" + std::to_string(file));
  } catch (const EDatabaseError &) {
  }
  close(file);
  return 0;
}
