// The recent-file lists "swpflist" as start-up reads them, and the menus
// they are shown in.
#include "common/recent_lists.h"
#include "common/shell_state.h"
#include "fuzz/fuzz_game.h"
#include "shell/options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PutInput("swpflist", data, size);
  ReadLists("swpflist");
  for (int list : {kUserPictureList, kBackgroundList, kStatsFileList}) {
    RewriteList(MainWindow, list);
    RewriteList(MenuStrip, list);
  }
  SetStatsItemText(RecentEntry(kStatsFileList, 0), 111, MainWindow, MenuStrip);
  return 0;
}
