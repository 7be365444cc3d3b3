// An HTML module of another version than the program's, which the program must refuse.
#include "panes/html_module.h"

extern "C" __attribute__((visibility("default"))) vitrina::IHtmlModule* VitrinaHtmlModule(int, int* moduleVersion) {
    if (moduleVersion) *moduleVersion = vitrina::kHtmlModuleVersion + 1;
    return nullptr;
}
