#include "campaign.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>

namespace badinput {
namespace {

namespace fs = std::filesystem;

// The pictures of each folder and file type that also get the 10 MiB damage.
constexpr std::size_t kHugePicturesPerGroup = 2;

// A probe runs seven wizards in well under a second; a minute means it hangs.
constexpr int kProbeTimeoutMs = 60000;

std::string Opener() {
  return fs::exists("/bin/true") ? "/bin/true" : "/usr/bin/true";
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

void Normalise(Outcome& o, const std::string& root) {
  auto fix = [&root](std::string& text) { ReplaceAll(text, root, "<cd>"); };
  fix(o.langDir);
  fix(o.switchedLangDir);
  for (auto* list : {&o.boxes, &o.dialogs, &o.loadedPictures})
    for (std::string& text : *list) fix(text);
}

std::string FileName(const std::string& path) {
  return path.substr(path.find_last_of('/') + 1);
}

// A picture's folder and extension, letter case ignored.
std::string GroupOf(const std::string& path) {
  std::string group = path.substr(0, path.find_last_of('/') + 1) + path.substr(path.rfind('.') + 1);
  std::transform(group.begin(), group.end(), group.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return group;
}

}  // namespace

CdImage::CdImage(const SampleEdition& edition, bool kit) : edition_(edition) {
  static int counter = 0;
  root_ = fs::temp_directory_path() /
          ("quillon-badinput-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
  fs::remove_all(root_);
  for (const std::string& file : edition.files()) {
    const fs::path target = root_ / file;
    fs::create_directories(target.parent_path());
    fs::create_symlink(fs::absolute(edition.root() / file), target);
  }
  fs::create_directories(root_ / ".cwd");
  fs::create_directories(root_ / ".run");
  if (kit) {
    std::ifstream in(edition.root() / "setup.ini", std::ios::binary);
    std::string profile((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto at = profile.find("isBundle=0");
    if (at == std::string::npos) throw std::runtime_error("setup.ini has no isBundle=0 line");
    profile.replace(at, 10, "isBundle=1");
    fs::remove(root_ / "setup.ini");
    std::ofstream(root_ / "setup.ini", std::ios::binary) << profile;
  }
}

// Only files of the edition are ever damaged, and the kit's setup.ini never is.
void CdImage::Restore(const std::string& path) const {
  fs::remove(root_ / path);
  fs::create_symlink(fs::absolute(edition_.root() / path), root_ / path);
}

void CdImage::Damage(const std::string& path, const std::optional<std::string>& bytes) const {
  fs::remove(root_ / path);
  if (bytes) std::ofstream(root_ / path, std::ios::binary) << *bytes;
}

fs::path CdImage::Install(const fs::path& program, const std::string& name) const {
  const fs::path target = root_ / name;
  std::error_code linked;
  fs::create_hard_link(program, target, linked);
  if (linked) fs::copy_file(program, target, fs::copy_options::overwrite_existing);
  return target;
}

CdImage::~CdImage() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

Campaign& Campaign::Instance() {
  static Campaign campaign;
  return campaign;
}

Campaign::Campaign() : edition_(BADINPUT_DATA_DIR) {}

CdImage& Campaign::ImageFor(bool kit) {
  std::unique_ptr<CdImage>& image = images_[kit];
  if (!image) image = std::make_unique<CdImage>(edition_, kit);
  return *image;
}

ProbeReport Campaign::Probe(const std::string& path, const RunSetup& setup,
                            const std::string& damages, bool listPictures) {
  const CdImage& image = ImageFor(setup.kit);
  std::vector<std::string> args{image.root().string(), edition_.root().string(), path};
  if (!setup.visit.empty()) args.insert(args.end(), {"--visit", setup.visit});
  if (setup.documents) args.push_back("--documents");
  if (listPictures) args.push_back("--list-pictures");
  if (!damages.empty()) args.insert(args.end(), {"--damages", damages});
  ProbeReport report;
  report.child = RunChild(
      BADINPUT_PROBE, args,
      {"XDG_RUNTIME_DIR=" + (image.root() / ".run").string(), "QUILLON_OPENER=" + Opener()},
      (image.root() / ".cwd").string(), kProbeTimeoutMs);
  ReplaceAll(report.child.err, image.root().string(), "<cd>");
  std::istringstream lines(report.child.out);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("BEGIN\t", 0) == 0) {
      report.unfinished = line.substr(6);
    } else if (std::optional<Outcome> outcome = ParseOutcome(line)) {
      Normalise(*outcome, image.root().string());
      report.outcomes[outcome->damage] = *outcome;
      if (outcome->damage == report.unfinished) report.unfinished.clear();
    }
  }
  // A pristine run touches nothing, and the kit image's own setup.ini must stay.
  if (damages != "pristine") image.Restore(path);
  return report;
}

const Outcome& Campaign::Baseline(const RunSetup& setup) {
  auto it = baselines_.find(setup);
  if (it != baselines_.end()) return it->second;
  ProbeReport report = Probe("setup.ini", setup, "pristine", true);
  Outcome& baseline = baselines_[setup];
  baseline = report.outcomes["pristine"];
  return baseline;
}

bool Campaign::Loaded(const RunSetup& setup, const std::string& path) {
  const auto& loaded = Baseline(setup).loadedPictures;
  return std::find(loaded.begin(), loaded.end(), "<cd>/" + path) != loaded.end();
}

std::string Campaign::LanguageOf(const std::string& path) const {
  if (path.rfind("Language/", 0) != 0) return {};
  const std::string rest = path.substr(9);
  const auto slash = rest.find('/');
  if (slash == std::string::npos) return {};
  const std::string language = rest.substr(0, slash);
  const auto all = edition_.languages();
  return std::find(all.begin(), all.end(), language) != all.end() ? language : std::string();
}

// What a file is follows from the pristine edition itself: the settings files name the ISP
// database, default.ini the documents, and a pristine run shows which pictures are loaded.
Plan Campaign::PlanFor(const std::string& path) {
  Plan plan;
  plan.path = path;
  const std::string home = edition_.defaultLanguage();
  const std::string name = FileName(path);
  auto visiting = [&home](const std::string& language) {
    return language == home ? std::string() : language;
  };
  plan.language = home;
  if (path == "setup.ini") {
    plan.kind = FileKind::kProfile;
    return plan;
  }
  if (const std::string language = LanguageOf(path); !language.empty()) {
    plan.language = language;
    plan.setup.visit = visiting(language);
    if (name == "dslutility.ini" || name == "dslutility_kit.ini") {
      plan.kind = FileKind::kSettings;
      plan.setup.kit = name == "dslutility_kit.ini";
    } else if (name == "default.ini") {
      plan.kind = FileKind::kDefaults;
    } else if (name == "application.err" || name == "common.err" || name == "frm.str") {
      plan.kind = FileKind::kCatalogue;
    } else if (name == edition_.SettingsValue(language, false, "ISPFileList")) {
      plan.kind = FileKind::kIspDatabase;
    } else if (name == edition_.SettingsValue(language, true, "ISPFileList")) {
      plan.kind = FileKind::kIspDatabase;
      plan.setup.kit = true;
    } else if (Loaded(plan.setup, path)) {
      plan.kind = FileKind::kPicture;
    } else if (RunSetup kit{true, plan.setup.visit, false}; Loaded(kit, path)) {
      plan.kind = FileKind::kPicture;
      plan.setup = kit;
    }
    return plan;
  }
  if (path.rfind("Docs/", 0) == 0) {
    // The quick guide's name is taken once at start, the manuals' on every click.
    for (const std::string& language : edition_.languages()) {
      const bool manual = name == edition_.DefaultsValue(language, "manualName");
      const bool guide = language == home && name == edition_.DefaultsValue(language, "qigName");
      const bool kitManual = name == edition_.DefaultsValue(language, "kxManualName");
      if (!manual && !guide && !kitManual) continue;
      plan.kind = FileKind::kDocument;
      plan.language = language;
      plan.documentMessage = guide ? 1 : 2;
      plan.setup = RunSetup{kitManual && !manual, visiting(language), true};
      return plan;
    }
  }
  return plan;
}

std::vector<Damage> Campaign::DamagesFor(const Plan& plan) {
  if (hugePictures_.empty()) {
    std::map<std::string, std::vector<std::string>> groups;
    for (const std::string& file : edition_.files())
      if (PlanFor(file).kind == FileKind::kPicture) groups[GroupOf(file)].push_back(file);
    for (auto& [group, files] : groups) {
      std::sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
        return StableHash(a) < StableHash(b);
      });
      files.resize(std::min(files.size(), kHugePicturesPerGroup));
      hugePictures_.insert(hugePictures_.end(), files.begin(), files.end());
    }
  }
  std::vector<Damage> damages(kAllDamages.begin(), kAllDamages.end());
  const bool sampled =
      std::find(hugePictures_.begin(), hugePictures_.end(), plan.path) != hugePictures_.end();
  if (plan.kind == FileKind::kPicture && !sampled) std::erase(damages, Damage::kHuge);
  return damages;
}

}  // namespace badinput
