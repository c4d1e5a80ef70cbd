#include "wizard_run.h"

#include <algorithm>
#include <set>

#include "app/executable_path.h"
#include "app/frmmain.h"
#include "app/link_state.h"
#include "app/pages.h"
#include "app/process_entry.h"
#include "app/program_windows.h"
#include "config/dialog_texts.h"
#include "dialogs/frmshowokcancelmessage.h"
#include "dialogs/frmshowpopmessage.h"
#include "ui/application.h"
#include "ui/headless/headless_backend.h"
#include "ui/image.h"
#include "ui/picture_cache.h"

namespace badinput {
namespace {

// The pages whose showing starts nothing outside the process: the link checks, the apply
// sequence, the driver installation and the internet test are left out, since they would talk
// to a modem or change the machine.
constexpr app::Page kQuietPages[] = {app::PAGE_POWER_LINK,
                                     app::PAGE_ETHERNET_LINK,
                                     app::PAGE_ADSL_LINK,
                                     app::PAGE_ISP_SELECTION,
                                     app::PAGE_STATIC_IP,
                                     app::PAGE_PPP_SETTING,
                                     app::PAGE_WRADIO_SETTING,
                                     app::PAGE_WIRELESS_SETTING,
                                     app::PAGE_INSTALL_COMPLETE,
                                     app::PAGE_ETHERNET_REMOVE,
                                     app::PAGE_WLAN_USB_CHECK,
                                     app::PAGE_WLAN_INS_COMPLETE,
                                     app::PAGE_WIRELESS_REMIND_SSID,
                                     app::PAGE_INSTALL_COMPLETE_ALONE};

std::string DialogText(ui::Form& form) {
  if (auto* pop = dynamic_cast<dialogs::TShowPopMessage*>(&form))
    return pop->lblShowMessage.caption();
  if (auto* question = dynamic_cast<dialogs::TShowOkCancelMessage*>(&form))
    return question->lblShowMessage.caption();
  return "(" + form.name() + ")";
}

class Run {
 public:
  Run(const RunRequest& request, Outcome& out) : request_(request), out_(out) {}

  void Execute() {
    // One probe process runs many cases: nothing a case leaves behind may reach the next.
    app::processState() = app::ProcessState{};
    quillon::config::dialogTexts() = quillon::config::DialogTexts{};
    quillon::config::setDialogCharset("");
    ui::PictureCache::Instance().Clear();
    app::SetExecutablePathForTests(request_.cdDir + "/quillon");

    application_ = ui::headless::MakeHeadlessApplication();
    auto& backend = ui::headless::Headless(*application_);
    application_->SetHaltHandler([](int code) { throw ui::HaltRequested{code}; });
    backend.SetMessageBoxHandler([this](const std::string& text, const std::string&) {
      out_.boxes.push_back(text);
      out_.boxPhases.push_back(phase_);
      return 1;
    });
    backend.SetModalHandler([this](ui::Form& form) {
      out_.dialogs.push_back(DialogText(form));
      form.SetModalResult(ui::kMrOk);
    });
    // The user's part runs as the first event of the message loop, once the window shows.
    backend.Post([this] {
      Tour();
      application_->Terminate();
    });
    try {
      out_.exitCode = app::RunProcessEntry(*application_);
      out_.endedIn = phase_ == "start" ? "start" : "done";
    } catch (const ui::HaltRequested& halt) {
      out_.halted = true;
      out_.exitCode = halt.code;
      out_.endedIn = phase_;
      app::windows().DestroyAll();
    } catch (const ui::headless::LoopStalled&) {
      out_.stalled = true;
      out_.endedIn = phase_;
      app::windows().DestroyAll();
    }
    out_.loadedPictures.assign(seen_.begin(), seen_.end());
    application_.reset();
    app::SetExecutablePathForTests({});
    ui::PictureCache::Instance().Clear();
  }

 private:
  app::TmainForm& main() { return *app::windows().mainForm; }

  void Tour() {
    phase_ = "tour";
    auto& c = main().controls();
    out_.started = main().visible() && c.imgMainMenu.visible() && c.imgMainMenu.hasPicture();
    out_.langDir = main().langDir;
    out_.languages = c.cbxLanguages.items();
    out_.languagesVisible = c.cbxLanguages.visible();
    out_.qigFileName = main().qigFileName;
    out_.countryCount = main().ispDatabase.countryCount;
    LookAtPictures();
    VisitPages();
    if (request_.openDocuments) OpenDocuments();
    if (request_.visit.empty()) return;

    phase_ = "switch";
    const auto& items = c.cbxLanguages.items();
    const auto it = std::find(items.begin(), items.end(), request_.visit);
    if (it == items.end()) return;
    c.cbxLanguages.UserSelect(static_cast<int>(it - items.begin()));
    out_.switchedLangDir = main().langDir;
    out_.switched = main().currentPage == app::PAGE_MAIN_MENU && c.imgMainMenu.visible() &&
                    main().langDir == request_.cdDir + "/Language/" + request_.visit + "/";
    out_.countryCount = main().ispDatabase.countryCount;
    phase_ = "tour-after-switch";
    LookAtPictures();
    VisitPages();
    if (request_.openDocuments) OpenDocuments();
  }

  // Every page as its Next or Back would show it: inside the event guard, so an error escapes
  // to the exception display as it would from a click. The ISP page fills its lists anew and
  // shows its unlocked labels, so the database and every label picture are used.
  void VisitPages() {
    auto& form = main();
    for (app::Page page : kQuietPages) {
      form.currentPage = page;
      if (page == app::PAGE_ISP_SELECTION) {
        form.ispPageNeedsFill = true;
        form.dslFieldsLocked = false;
      }
      application_->Guard([&form] { form.showPage(); });
      LookAtPictures();
    }
    form.dslFieldsLocked = true;
    form.currentPage = app::PAGE_MAIN_MENU;
    application_->Guard([&form] { form.showPage(); });
  }

  // The main menu's document buttons, hovered and clicked as a user does.
  void OpenDocuments() {
    auto& c = main().controls();
    auto& backend = ui::headless::Headless(*application_);
    for (ui::Image* button : {&c.imgViewManualBT, &c.imgViewQIGBT, &c.imgViewKXManual}) {
      if (!button->hasPicture()) continue;
      backend.ClickAt(main(), button->left() + button->width() / 2,
                      button->top() + button->height() / 2);
    }
  }

  // Draws, as far as decoding goes, every shown control with the watched file; the hidden ones
  // are decoded when they appear.
  void LookAtPictures() {
    for (ui::Control* control : main().zOrder()) {
      auto* image = dynamic_cast<ui::Image*>(control);
      if (!image || image->picturePath().empty()) continue;
      if (request_.listPictures) seen_.insert(image->picturePath());
      if (!image->visible()) continue;
      if (request_.watchedPath.empty() || image->picturePath() != request_.watchedPath) continue;
      if (image->picture())
        ++out_.decodedPictures;
      else
        ++out_.blankPictures;
    }
  }

  const RunRequest& request_;
  Outcome& out_;
  std::unique_ptr<ui::Application> application_;
  std::string phase_ = "start";
  std::set<std::string> seen_;
};

}  // namespace

Outcome RunWizard(const RunRequest& request) {
  Outcome out;
  Run(request, out).Execute();
  return out;
}

}  // namespace badinput
