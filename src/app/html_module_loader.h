#pragma once
// Finds and loads the HTML module (panes/html_module.h) once, when something first needs it: next
// to the program in the build tree, in the program's own library folder once installed.
#include <string>

namespace vitrina {

class IHtmlModule;

// The module; null when it cannot be loaded, which is said once, in one line on stderr (the
// HTML areas then stay empty).
IHtmlModule* HtmlModule();
// A module whose code the program links itself (the tests): used instead of loading one.
void ProvideHtmlModule(IHtmlModule* module);

}  // namespace vitrina
