// badinput_probe: starts the wizard on the headless backend over a CD image once per damage of
// one of its files, and prints an OUTCOME line for each run. A crash or a hang of the wizard is
// a crash or a hang of this process, which is what the test that starts it looks for.
//   badinput_probe CD_DIR SOURCE_DIR FILE [--visit LANGUAGE] [--documents] [--list-pictures]
//                  [--damages NAME,...]
// FILE is relative to both folders; the damaged copy is written to CD_DIR from the original in
// SOURCE_DIR, which is never written. Without --damages every damage is applied; the damage
// "pristine" runs the untouched image.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "damage.h"
#include "outcome.h"
#include "wizard_run.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The image links its files to the originals, so a damaged copy must replace the link itself,
// never write through it.
void Replace(const fs::path& target, const std::optional<std::string>& bytes) {
  fs::remove(target);
  if (bytes) std::ofstream(target, std::ios::binary) << *bytes;
}

std::vector<std::string> Split(const std::string& list) {
  std::vector<std::string> names;
  std::istringstream in(list);
  for (std::string name; std::getline(in, name, ',');) names.push_back(name);
  return names;
}

void Emit(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: badinput_probe CD_DIR SOURCE_DIR FILE [options]\n");
    return 2;
  }
  const fs::path cd = argv[1];
  const fs::path source = argv[2];
  const std::string file = argv[3];
  badinput::RunRequest request;
  request.cdDir = cd.string();
  std::vector<std::string> damages;
  for (int i = 4; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--visit" && i + 1 < argc) {
      request.visit = argv[++i];
    } else if (arg == "--documents") {
      request.openDocuments = true;
    } else if (arg == "--list-pictures") {
      request.listPictures = true;
    } else if (arg == "--damages" && i + 1 < argc) {
      damages = Split(argv[++i]);
    } else {
      std::fprintf(stderr, "unknown option %s\n", arg.c_str());
      return 2;
    }
  }
  if (damages.empty())
    for (badinput::Damage d : badinput::kAllDamages) damages.push_back(badinput::DamageName(d));

  const fs::path target = cd / file;
  const std::string original = ReadAll(source / file);
  request.watchedPath = request.cdDir + "/" + file;
  for (const std::string& name : damages) {
    Emit("BEGIN\t" + name);
    const std::optional<badinput::Damage> damage = badinput::DamageFromName(name);
    if (damage) Replace(target, badinput::Damaged(*damage, original, file));
    badinput::Outcome outcome = badinput::RunWizard(request);
    outcome.damage = name;
    Emit(badinput::FormatOutcome(outcome));
    if (damage) Replace(target, original);
  }
  return 0;
}
