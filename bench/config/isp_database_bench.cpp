// Loading a full ISP database (500 countries of 50 providers) against the floor of merely reading
// its lines, in the same run. The reader should cost at most ten times the plain read.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../bench_main.h"
#include "config/isp_database.h"

namespace {

using namespace quillon::config;

constexpr double kTargetRatio = 10.0;

// The database file, written once for the whole run into a folder of its own.
struct DatabaseFile {
  DatabaseFile() {
    folder = std::filesystem::temp_directory_path() / "quillon-config-bench";
    std::filesystem::create_directories(folder);
    std::ofstream out(folder / "isp.txt", std::ios::binary | std::ios::trunc);
    for (int c = 0; c < kMaxCountries; ++c) {
      out << "@Country " << c << "{http://isp" << c << ".example/support}\r\n";
      for (int i = 0; i < kMaxIspsPerCountry; ++i)
        out << "Provider " << c << '-' << i << ", " << (i % 2 ? "PPPoA" : "PPPoE") << ", "
            << (i % 3 ? "" : "LLC") << ", " << i % 9 << ", " << 32 + i << (i % 4 ? ", 1400" : "")
            << "\r\n";
    }
  }
  ~DatabaseFile() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  std::string folderText() const { return (folder / "").string(); }
  std::string path() const { return (folder / "isp.txt").string(); }

  std::filesystem::path folder;
};

const DatabaseFile& databaseFile() {
  static const DatabaseFile file;
  return file;
}

void BM_ReadLines(benchmark::State& state) {
  const std::string path = databaseFile().path();
  for (auto _ : state) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(BM_ReadLines)->Unit(benchmark::kMillisecond);

void BM_LoadIspDatabase(benchmark::State& state) {
  const std::string folder = databaseFile().folderText();
  auto db = std::make_unique<Country>();
  db->ispFileName = "isp.txt";
  for (auto _ : state) {
    if (!loadIspDatabase(*db, folder, "http://www.norvane.example/support"))
      state.SkipWithError("database file missing");
    benchmark::DoNotOptimize(db->countryCount);
  }
  if (db->countryCount != kMaxCountries) state.SkipWithError("database not fully read");
}
BENCHMARK(BM_LoadIspDatabase)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  const bench::Times times = bench::RunBenchmarks(argc, argv);
  return bench::ReportRatio(times, "BM_LoadIspDatabase", "BM_ReadLines",
                            "loadIspDatabase / read lines", kTargetRatio)
             ? 0
             : 1;
}
