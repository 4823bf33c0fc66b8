// tabulift-bench: how fast the conversion runs and how much memory it takes,
// against what libmdb and the file system can do at best. Every time is the
// best of several runs; the runs of the figures take turns, so that a burst of
// load elsewhere on the machine falls on all of them alike.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <limits>
#include <sys/utsname.h>
#include <thread>
#include <unistd.h>

#include "app/ColumnPresets.h"
#include "app/ImportRun.h"
#include "bench/ChildProcess.h"
#include "bench/LibmdbFloor.h"
#include "platform/ado/ADOConnection.h"
#include "platform/ado/ADOTable.h"
#include "platform/ado/ConnectionString.h"

namespace fs = std::filesystem;

namespace {

constexpr const char *kTable = "Lieder";

// A folder of its own under the system's temporary folder, removed at the end.
class TScratchFolder {
public:
  TScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "tabulift-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
      throw std::runtime_error("cannot make a temporary folder: " + std::string(std::strerror(errno)));
    FPath = pattern;
  }
  ~TScratchFolder() {
    std::error_code ignored;
    fs::remove_all(FPath, ignored);
  }
  TScratchFolder(const TScratchFolder &) = delete;
  TScratchFolder &operator=(const TScratchFolder &) = delete;

  const fs::path &Path() const { return FPath; }

private:
  fs::path FPath;
};

void OpenTable(TADOConnection &connection, TADOTable &table, const fs::path &database,
               TCursorType cursor) {
  connection.SetConnectionString(JetConnectionString(database));
  table.SetConnection(&connection);
  table.SetTableName(kTable);
  table.SetCursorType(cursor);
  table.Open();
}

long long ReadThroughDataLayer(const fs::path &database, TCursorType cursor) {
  TADOConnection connection;
  TADOTable table;
  OpenTable(connection, table, database, cursor);
  const int fields = static_cast<int>(table.Fields().size());
  long long bytes = 0;
  for (table.First(); !table.Eof(); table.Next())
    for (int field = 0; field < fields; ++field)
      bytes += static_cast<long long>(table.AsString(field).size());
  return bytes;
}

// As tabulift-cli convert: a forward-only cursor, the columns as preset.
TImportResult Convert(const fs::path &database, const fs::path &target) {
  TADOConnection connection;
  TADOTable table;
  OpenTable(connection, table, database, TCursorType::ctOpenForwardOnly);
  TColumnChoosers choosers;
  choosers.fill(ColumnChooserFor(table.Fields()));
  AutoMapColumns(choosers, table.Fields());
  return RunImport(target, ChosenColumns(choosers), table);
}

struct TFileToWrite {
  std::string Path;
  std::size_t Size;
};

// The names and sizes of the files a conversion wrote, as written into `folder`.
std::vector<TFileToWrite> FilesLike(const fs::path &written, const fs::path &folder) {
  std::vector<TFileToWrite> files;
  for (const fs::directory_entry &entry : fs::directory_iterator(written))
    files.push_back({(folder / entry.path().filename()).string(), static_cast<std::size_t>(entry.file_size())});
  std::sort(files.begin(), files.end(), [](const auto &a, const auto &b) { return a.Path < b.Path; });
  return files;
}

// The write floor: each file written under a temporary name and renamed into
// place, as the conversion does, with nothing else around it.
void WriteFiles(const fs::path &folder, const std::vector<TFileToWrite> &files) {
  fs::create_directory(folder);
  std::size_t largest = 0;
  for (const TFileToWrite &file : files)
    largest = std::max(largest, file.Size);
  const std::string bytes(largest, 'x');
  const std::string temporary = (folder / ".floor").string();
  for (const TFileToWrite &file : files) {
    const int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (descriptor < 0 || write(descriptor, bytes.data(), file.Size) != static_cast<ssize_t>(file.Size) ||
        close(descriptor) != 0 || rename(temporary.c_str(), file.Path.c_str()) != 0)
      throw std::runtime_error("cannot write " + file.Path + ": " + std::strerror(errno));
  }
}

struct TFigure {
  std::string Label;
  std::function<void()> Prepare; // untimed, before each run
  std::function<void()> Run;
  double Best = std::numeric_limits<double>::infinity();
};

double Seconds(const std::function<void()> &run) {
  const auto start = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void MeasureInTurns(std::vector<TFigure> &figures, int repeat) {
  for (int round = 0; round < repeat; ++round)
    for (TFigure &figure : figures) {
      if (figure.Prepare)
        figure.Prepare();
      figure.Best = std::min(figure.Best, Seconds(figure.Run));
    }
}

// The smallest peak resident memory of `repeat` runs of tabulift-cli convert.
long PeakKilobytes(const fs::path &database, const fs::path &target, int repeat) {
  long best = std::numeric_limits<long>::max();
  for (int round = 0; round < repeat; ++round) {
    fs::remove_all(target);
    best = std::min(best, RunChild({TABULIFT_CLI, "convert", database.string(), kTable, target.string()}));
  }
  if (best <= SelfPeakKilobytes())
    throw std::runtime_error("tabulift-cli's peak memory cannot be told from the benchmark's own");
  return best;
}

std::string Machine() {
  std::ifstream cpuinfo("/proc/cpuinfo");
  std::string line, cpu = "unknown processor";
  while (std::getline(cpuinfo, line))
    if (line.rfind("model name", 0) == 0) {
      cpu = line.substr(line.find(':') + 2);
      break;
    }
  utsname system{};
  uname(&system);
  return cpu + ", " + std::to_string(std::thread::hardware_concurrency()) + " cores, " + system.sysname + " " +
         system.release;
}

struct TRatio {
  std::string Label;
  double Value;
  double Target;
};

void PrintReport(const std::vector<TFigure> &figures, long bigKilobytes, long smallKilobytes, long rows,
                 std::size_t files, std::size_t fileBytes, int repeat, const std::vector<TRatio> &ratios) {
  std::printf("Tabulift benchmark: table %s, %ld rows, %zu files of %.1f MB written; best of %d runs\n",
              kTable, rows, files, static_cast<double>(fileBytes) / 1e6, repeat);
  std::printf("Machine: %s\n\n", Machine().c_str());
  std::printf("| figure | best |\n|---|---:|\n");
  for (const TFigure &figure : figures)
    std::printf("| %s | %.3f s |\n", figure.Label.c_str(), figure.Best);
  std::printf("| peak memory of tabulift-cli convert, %ld rows | %.1f MB |\n", rows, bigKilobytes / 1024.0);
  std::printf("| peak memory of tabulift-cli convert, 12 rows | %.1f MB |\n\n", smallKilobytes / 1024.0);
  std::printf("| ratio | measured | target | |\n|---|---:|---:|---|\n");
  for (const TRatio &ratio : ratios)
    std::printf("| %s | %.2f | <= %.2f | %s |\n", ratio.Label.c_str(), ratio.Value, ratio.Target,
                ratio.Value <= ratio.Target ? "met" : "MISSED");
}

int RunBenchmark(int repeat) {
  TScratchFolder scratch;
  const fs::path database = scratch.Path() / "bench-20000.mdb";
  std::fprintf(stderr, "Unpacking %s ...\n", TABULIFT_BENCH_DATA);
  RunChild({"xz", "--decompress", "--stdout", TABULIFT_BENCH_DATA}, database);

  // Memory first, while the benchmark itself is small (RunChild).
  const fs::path songs = scratch.Path() / "songs";
  std::fprintf(stderr, "Measuring the peak memory of tabulift-cli convert ...\n");
  const long bigKilobytes = PeakKilobytes(database, songs, repeat);
  const long smallKilobytes = PeakKilobytes(TABULIFT_SMALL_DATABASE, songs, repeat);

  // One conversion first, untimed: it warms the caches and gives the files
  // the write floor writes.
  fs::remove_all(songs);
  const TImportResult reference = Convert(database, songs);
  const fs::path floorFolder = scratch.Path() / "floor";
  const std::vector<TFileToWrite> files = FilesLike(songs, floorFolder);
  std::size_t fileBytes = 0;
  for (const TFileToWrite &file : files)
    fileBytes += file.Size;

  std::vector<TFigure> figures = {
      {"read floor: libmdb alone", {}, [&] { ReadWithLibmdb(database, kTable); }},
      {"write floor: open, write, close, rename", [&] { fs::remove_all(floorFolder); },
       [&] { WriteFiles(floorFolder, files); }},
      {"data layer, forward-only cursor", {}, [&] { ReadThroughDataLayer(database, TCursorType::ctOpenForwardOnly); }},
      {"data layer, static cursor", {}, [&] { ReadThroughDataLayer(database, TCursorType::ctStatic); }},
      {"conversion: import run into a fresh folder", [&] { fs::remove_all(songs); }, [&] { Convert(database, songs); }},
  };
  std::fprintf(stderr, "Measuring, %d runs of each figure ...\n", repeat);
  MeasureInTurns(figures, repeat);

  const double readFloor = figures[0].Best, writeFloor = figures[1].Best;
  const std::vector<TRatio> ratios = {
      {"data layer (forward-only) / read floor", figures[2].Best / readFloor, 1.3},
      {"data layer (static) / read floor", figures[3].Best / readFloor, 1.6},
      {"conversion / (read floor + write floor)", figures[4].Best / (readFloor + writeFloor), 1.25},
      {"peak memory, " + std::to_string(reference.RowsRead) + " rows / 12 rows",
       static_cast<double>(bigKilobytes) / static_cast<double>(smallKilobytes), 1.2},
  };
  PrintReport(figures, bigKilobytes, smallKilobytes, reference.RowsRead, files.size(), fileBytes, repeat, ratios);
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  CLI::App app{"Measures the conversion of " TABULIFT_BENCH_DATA
               " against libmdb and the file system alone, and the peak memory of tabulift-cli convert.",
               "tabulift-bench"};
  int repeat = 7;
  app.add_option("--repeat", repeat, "Runs of each figure; the best counts")->check(CLI::PositiveNumber);
  CLI11_PARSE(app, argc, argv);
  try {
    return RunBenchmark(repeat);
  } catch (const std::exception &error) {
    std::fprintf(stderr, "tabulift-bench: %s\n", error.what());
    return 1;
  }
}
