#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <string>

#include "app/cd_image.h"
#include "platform/files.h"
#include "platform_win32/win32_test_support.h"

namespace {

// What the copier started in the folder wrote (its own path), as soon as it is there; empty when
// nothing appeared within `ms`.
std::string NoteWithin(const CdImage& cd, const std::string& folder, int ms) {
  const std::string note = cd.native(folder + "/ran.txt");
  for (int waited = 0; waited < ms && !platform::FileExists(note); waited += 50) ::Sleep(50);
  return platform::FileExists(note) ? cd.Read(folder + "/ran.txt") : std::string();
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Under each version Wine can be told to report, the wizard records the system kind of its table,
// and the kit edition's driver step starts the copier of that kind's driver folder, in that
// folder, or no copier at all.
TEST(DriverStep, EachWindowsVersionStartsTheCopierOfItsDriverFolder) {
  if (!win32_test::UnderWine()) GTEST_SKIP() << "the per-program version setting is Wine's";
  // The setting reaches only programs of this name: not the wizard another test runs meanwhile.
  const std::string name = win32_test::UniqueName("driver_step_probe") + ".exe";
  win32_test::WineVersionSetting setting(name);
  ASSERT_TRUE(setting.ready());
  struct Case {
    const char* setting;
    int kind;
    const char* folder;  // where the copier must run; none for nullptr
  };
  for (const Case& c : {Case{"winxp", 2, "Driver"}, Case{"vista", 7, "DriverVista"},
                        Case{"win7", 0, nullptr}, Case{"win10", 0, nullptr}}) {
    SCOPED_TRACE(c.setting);
    // A CD of its own for each version, so that a copier one run started late cannot pass for
    // the next run's.
    CdImage cd;
    std::string profile = cd.Read("setup.ini");
    profile.replace(profile.find("isBundle=0"), 10, "isBundle=1");
    cd.Write("setup.ini", profile);
    for (const char* folder : {"Driver", "DriverVista"})
      ASSERT_TRUE(::CopyFileA((win32_test::TestFolder() + "driver_copier_recorder.exe").c_str(),
                              cd.native(std::string(folder) + "/cpydrv.exe").c_str(), FALSE));
    const std::string probe = cd.folder() + name;
    ASSERT_TRUE(::CopyFileA((win32_test::TestFolder() + "driver_step_probe.exe").c_str(),
                            probe.c_str(), FALSE));
    setting.Set(c.setting);

    EXPECT_EQ(win32_test::RunProgram(probe, ""), c.kind);
    // The shell does not wait for the copier: give it time to start and write its note. Where
    // none may run, a short wait is enough, since the copier a shell started writes at once.
    if (c.folder) {
      const std::string copier = cd.native(std::string(c.folder) + "/cpydrv.exe");
      EXPECT_EQ(Lower(NoteWithin(cd, c.folder, 20000)), Lower(copier));
      const char* other = std::string(c.folder) == "Driver" ? "DriverVista" : "Driver";
      EXPECT_EQ(NoteWithin(cd, other, 0), "");
      // The copier may still be ending; the CD goes only once its program can.
      for (int waited = 0; !::DeleteFileA(copier.c_str()) && waited < 5000; waited += 50)
        ::Sleep(50);
    } else {
      EXPECT_EQ(NoteWithin(cd, "Driver", 3000), "");
      EXPECT_EQ(NoteWithin(cd, "DriverVista", 0), "");
    }
  }
}

}  // namespace
