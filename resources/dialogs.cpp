// Dialog templates.
#include "platform/platform.h"
#include "resources/templates.h"

void RegisterMenuTemplates();
void RegisterStatsDialogs();
void RegisterFieldDialogs();

namespace {
// The menu strip: a borderless popup that shows nothing but its menu bar.
const DialogTemplate kMenuDialog = {"MenuDialog", "", WS_POPUP, 0, 0, 650, 0, nullptr, 0};
}  // namespace

void RegisterGameResources() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterMenuTemplates();
  RegisterDialogTemplate(&kMenuDialog);
  RegisterStatsDialogs();
  RegisterFieldDialogs();
}
