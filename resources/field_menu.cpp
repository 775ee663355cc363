// The mine field's menu template, "HfdMenu".
#include "platform/platform.h"

namespace {
// The mine field's own commands arrive with its game; until then its menu
// holds what the two builds share.
const MenuTemplateItem kFieldMenu[] = {
    {0, "&Game", 0, MF_POPUP},
    {1, "Screen &Mode", 0, MF_POPUP},
    {2, "&Full Screen Mode", 2101, 0},
    {2, "&Normal Window", 2100, 0},
    {2, "&Reduce Game to Icon", 2102, 0},
    {1, "&Show Clock Toggle", 121, 0},
    {1, "&Sound Toggle", 212, 0},
    {1, "", 0, MF_SEPARATOR},
    {1, "E&xit Hotfield (X)", 108, 0},
    {0, "&Help", 0, MF_POPUP},
    {1, "&About Hotfield", 502, 0},
    {0, nullptr, 0, 0},
};
}  // namespace

void RegisterFieldMenu() { RegisterMenuTemplate("HfdMenu", kFieldMenu); }
