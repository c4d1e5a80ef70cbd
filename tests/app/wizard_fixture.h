#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "app/cd_image.h"
#include "app/executable_path.h"
#include "app/frmmain.h"
#include "app/program_windows.h"
#include "platform/environment.h"
#include "ui/application.h"
#include "ui/headless/headless_backend.h"
#include "ui/picture_cache.h"

// The wizard in-process on the headless backend, started from a private CD image. The process's
// end (Halt) comes back to the test as ui::HaltRequested.
class WizardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The single-instance lock lives in the runtime folder: give each test its own.
    runtime_ = cd_.root() / "runtime";
    std::filesystem::create_directories(runtime_);
    platform::SetEnvVar("XDG_RUNTIME_DIR", runtime_.string());
    app::SetExecutablePathForTests(cd_.exePath());
    app_ = ui::headless::MakeHeadlessApplication();
    app_->SetTitle("Norvane Quillon");
    app_->SetHaltHandler([](int code) { throw ui::HaltRequested{code}; });
  }
  void TearDown() override {
    app::windows().DestroyAll();
    app::SetExecutablePathForTests({});
    ui::PictureCache::Instance().Clear();
  }

  ui::headless::HeadlessBackend& backend() { return ui::headless::Headless(*app_); }
  app::TmainForm& main() { return *app::windows().mainForm; }

  // Runs the start-up; returns the exit code when the program ended during it, -1 otherwise.
  int StartUp() {
    try {
      app::windows().CreateAll(*app_);
    } catch (const ui::HaltRequested& halt) {
      return halt.code;
    }
    return -1;
  }

  CdImage cd_;
  std::filesystem::path runtime_;
  std::unique_ptr<ui::Application> app_;
};
