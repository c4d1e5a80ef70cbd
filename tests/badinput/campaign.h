#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "child_process.h"
#include "damage.h"
#include "outcome.h"
#include "sample_edition.h"

namespace badinput {

// How the wizard is run for a file: which edition, which language it switches to after the
// start (the one whose folder holds the file), and whether the document buttons are pressed.
struct RunSetup {
  bool kit = false;
  std::string visit;
  bool documents = false;

  bool operator<(const RunSetup& o) const {
    return std::tie(kit, visit, documents) < std::tie(o.kit, o.visit, o.documents);
  }
};

struct Plan {
  std::string path;  // relative to the CD
  FileKind kind = FileKind::kUnread;
  RunSetup setup;
  std::string language;      // the language whose texts the wizard shows when it reads the file
  int documentMessage = -1;  // the application message a missing document brings
};

// A private CD image: the sample edition's folders with a link to every file, so that damaging
// a file never touches the original. The kit edition gets its own setup.ini. One image serves
// every probe of a test process; Restore puts a file back after its probe, whatever the probe
// left behind.
class CdImage {
 public:
  CdImage(const SampleEdition& edition, bool kit);
  ~CdImage();
  CdImage(const CdImage&) = delete;
  CdImage& operator=(const CdImage&) = delete;
  const std::filesystem::path& root() const { return root_; }
  void Restore(const std::string& path) const;
  // Replaces a file by its damaged form (none: removes it).
  void Damage(const std::string& path, const std::optional<std::string>& bytes) const;
  // Puts a program at the image's root under `name`, linked where the file system allows, so
  // that it finds the image as the folder it was started from.
  std::filesystem::path Install(const std::filesystem::path& program,
                                const std::string& name) const;

 private:
  const SampleEdition& edition_;
  std::filesystem::path root_;
};

// The probe's report of one process: an outcome per damage, paths inside the image written as
// "<cd>" (in its standard error too) so that runs over different images compare.
struct ProbeReport {
  ChildResult child;
  std::map<std::string, Outcome> outcomes;
  std::string unfinished;  // the damage whose run began but never reported
};

class Campaign {
 public:
  static Campaign& Instance();

  const SampleEdition& edition() const { return edition_; }
  Plan PlanFor(const std::string& path);
  // Every damage, except that a picture is swollen to 10 MiB only for a fixed sample: reading
  // such a picture costs the wizard a noticeable fraction of a second, and the decoders meet
  // every kind of damaged bytes in the fuzz targets anyway.
  std::vector<Damage> DamagesFor(const Plan& plan);
  // The untouched edition under a setup, with every picture it loaded.
  const Outcome& Baseline(const RunSetup& setup);
  ProbeReport Probe(const std::string& path, const RunSetup& setup, const std::string& damages,
                    bool listPictures);

 private:
  Campaign();
  std::string LanguageOf(const std::string& path) const;
  bool Loaded(const RunSetup& setup, const std::string& path);

  SampleEdition edition_;
  CdImage& ImageFor(bool kit);

  std::map<RunSetup, Outcome> baselines_;
  std::map<bool, std::unique_ptr<CdImage>> images_;
  std::vector<std::string> hugePictures_;  // the sample, filled on first use
};

}  // namespace badinput
