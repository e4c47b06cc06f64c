#pragma once

// Model texts (GBK bytes) to screen texts and back: the one conversion edge of the windows.

#include <QString>

#include <string>
#include <string_view>

#include "base/GbkText.h"

namespace quarrant {

inline QString ToQt(std::string_view gbk) {
    return QString::fromStdString(GbkToUtf8(gbk));
}
inline std::string FromQt(const QString& text) {
    return Utf8ToGbk(text.toStdString());
}

}  // namespace quarrant
