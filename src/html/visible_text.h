#pragma once
// The text of an HTML page as a reader sees it, taken without a web engine: what the document
// scan matches against and what the keyword index is built from.
#include <string>
#include <string_view>

namespace vitrina {

// The page in 1251 by the charset it declares as the viewer is told it (1251 when it declares
// none or one that is unknown).
// Characters 1251 cannot hold become "?".
std::string DocumentAs1251(std::string_view page);
// The same without a copy of a 1251 page: a view of page itself, or of buffer holding the
// converted text.
std::string_view PageAs1251(std::string_view page, std::string& buffer);

// Appends the visible text of a 1251 page to out: no markup, comments, head elements (title,
// style, script), scripts or styles; character references decoded ("?" for what 1251 cannot
// hold); every run of white space, and every break between block elements, one blank. Inline
// markup does not break a word. lowerCase folds letters the way the find ignores case.
void AppendVisibleText(std::string_view html, std::string& out, bool lowerCase = false);
std::string VisibleText(std::string_view html);

// The text of the <title> element, references decoded and blanks collapsed; empty without one.
std::string ExtractTitle(std::string_view html);

}  // namespace vitrina
