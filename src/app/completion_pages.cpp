#include "app/completion_pages.h"

#include "app/frmmain.h"
#include "app/page_support.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "ui/application.h"

namespace app {
namespace {

constexpr char kInternetPage[] = "Internet.htm";
constexpr char kSurfInternetPage[] = "SurfInternet.htm";

}  // namespace

CompletionPages::CompletionPages(TmainForm& form) : form_(form) {
  auto& c = form.controls();
  c.imgInstallCompleteBG.onMouseMove = [this](int x, int y) {
    imgInstallCompleteBGMouseMove(x, y);
  };
  c.imgInstallCompleteAloneBG.onMouseMove = [this](int x, int y) {
    imgInstallCompleteAloneBGMouseMove(x, y);
  };
  c.imgInsCompleteBT.onClick = [this] { imgInsCompleteBTClick(); };
  c.imgInsBrowse.onClick = [this] { imgInsBrowseClick(); };
  c.imgInsWLANUSB.onClick = [this] { imgInsWLANUSBClick(); };
  c.imgInsCompleteAloneBT.onClick = [this] { imgInsCompleteAloneBTClick(); };
  c.imgInsCompleteAloneBrowseBT.onClick = [this] { imgInsCompleteAloneBrowseBTClick(); };
}

void CompletionPages::imgInstallCompleteBGMouseMove(int x, int y) {
  auto& c = form_.controls();
  SetHoverCursor(form_.app(),
                 ShowHoverPicture({&c.imgInsCompleteBT, &c.imgInsWLANUSB, &c.imgInsBrowse}, x, y));
}

// The two buttons of this page are tested each on its own.
void CompletionPages::imgInstallCompleteAloneBGMouseMove(int x, int y) {
  auto& c = form_.controls();
  auto& app = form_.app();
  app.SetCursor(ui::Cursor::Arrow);
  for (ui::Image* button : {&c.imgInsCompleteAloneBT, &c.imgInsCompleteAloneBrowseBT}) {
    button->Hide();
    if (!button->Contains(x, y)) continue;
    button->Show();
    button->BringToFront();
    app.SetCursor(ui::Cursor::HandPoint);
  }
}

void CompletionPages::OpenHelpPage(const char* file) {
  const char sep = platform::kPathSeparator;
  const std::string folder = form_.exeDir + "Language" + sep + "Internet" + sep;
  platform::ShellOpen(file, "", folder, platform::ShowMode::kNormal);
}

void CompletionPages::imgInsCompleteBTClick() {
  if (form_.openInternetPage) OpenHelpPage(kInternetPage);
  form_.app().Halt(0);
}

void CompletionPages::imgInsBrowseClick() {
  if (form_.openInternetPage) OpenHelpPage(kSurfInternetPage);
  form_.app().Halt(0);
}

void CompletionPages::imgInsWLANUSBClick() {
  form_.goNext();
  form_.showPage();
}

void CompletionPages::imgInsCompleteAloneBTClick() {
  OpenHelpPage(kInternetPage);
  form_.app().Halt(0);
}

// This page's browse button opens the same page as its OK button.
void CompletionPages::imgInsCompleteAloneBrowseBTClick() {
  imgInsCompleteAloneBTClick();
}

}  // namespace app
