// Without libFuzzer, a fuzz target still runs: this driver feeds it every file named on the
// command line (folders are walked), so the seed corpus is a regression suite in every build.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

int replayFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // An empty vector's data() may be null; the target must still see a valid pointer.
  static const uint8_t kEmpty = 0;
  const auto* data = bytes.empty() ? &kEmpty : reinterpret_cast<const uint8_t*>(bytes.data());
  LLVMFuzzerTestOneInput(data, bytes.size());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path arg(argv[i]);
    if (std::filesystem::is_directory(arg)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(arg))
        if (entry.is_regular_file()) replayed += replayFile(entry.path());
    } else if (std::filesystem::exists(arg)) {
      replayed += replayFile(arg);
    }
  }
  std::printf("replayed %d inputs\n", replayed);
  return replayed > 0 ? 0 : 1;
}
