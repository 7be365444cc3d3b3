#pragma once
// A normal start writes nothing to the terminal: the libraries the program stands on report
// their set-up and a missing sound device at length. Their reports stay available the way each
// library offers (QT_LOGGING_RULES for Qt's categories, the libraries' own variables); without
// a rule of the reader's own, they are kept off stderr.
namespace vitrina {

// Before the application object exists.
void KeepLibrariesQuiet();

}  // namespace vitrina
