#pragma once
// 1251 text as Qt text, where the window code hands it to Qt.
#include <QString>

#include <string_view>

#include "platform/cp1251.h"

namespace vitrina {

inline QString QText(std::string_view text1251) { return QString::fromStdString(Cp1251ToUtf8(text1251)); }

}  // namespace vitrina
