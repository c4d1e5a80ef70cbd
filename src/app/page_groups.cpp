#include <memory>

#include "app/adapter_pages.h"
#include "app/apply_pages.h"
#include "app/completion_pages.h"
#include "app/connection_pages.h"
#include "app/frmmain.h"
#include "app/link_check_pages.h"
#include "app/main_menu.h"
#include "app/page_group.h"
#include "app/wireless_pages.h"

namespace app {

void InstallPageGroups(TmainForm& form) {
  (void)form;
  // One line per page group, in the order their Parts of the wizard come:
  form.pageGroups.push_back(std::make_unique<LinkCheckPages>(form));
  form.pageGroups.push_back(std::make_unique<ConnectionPages>(form));
  form.pageGroups.push_back(std::make_unique<WirelessPages>(form));
  form.pageGroups.push_back(std::make_unique<SoftwareLinkPage>(form));
  form.pageGroups.push_back(std::make_unique<CompletionPages>(form));
  form.pageGroups.push_back(std::make_unique<MainMenuPages>(form));
  form.pageGroups.push_back(std::make_unique<AdapterPages>(form));
}

}  // namespace app
