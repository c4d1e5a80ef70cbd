#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace quillon::config::testing {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes. path() ends with the separator, as every folder handed to a reader does.
class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    for (;;) {
      dir_ = std::filesystem::temp_directory_path() /
             ("quillon-config-" + std::to_string(random()) + std::to_string(random()));
      if (std::filesystem::create_directory(dir_)) break;
    }
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string path() const { return (dir_ / "").string(); }

  void write(const std::string& name, std::string_view bytes) const {
    std::ofstream out(dir_ / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  void remove(const std::string& name) const { std::filesystem::remove(dir_ / name); }

 private:
  std::filesystem::path dir_;
};

}  // namespace quillon::config::testing
