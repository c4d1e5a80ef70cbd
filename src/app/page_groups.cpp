#include <memory>

#include "app/frmmain.h"
#include "app/page_group.h"

namespace app {

void InstallPageGroups(TmainForm& form) {
  (void)form;
  // One line per page group, in the order their Parts of the wizard come:
}

}  // namespace app
