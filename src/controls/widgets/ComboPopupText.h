#pragma once

#include <QString>

namespace quarrant {

// The text a pop-up opens with: the part after the first "=", or the whole text without one.
inline QString TextAfterFirstEquals(const QString& text) {
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    return equals < 0 ? text : text.mid(equals + 1);
}

}  // namespace quarrant
