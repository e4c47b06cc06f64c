#include "platform/QtText.h"

#include "base/GbkText.h"

namespace quarrant {

QString ToQt(std::string_view gbk) {
    // Most cell texts are numbers: ASCII needs no conversion.
    if (IsAscii(gbk)) {
        return QString::fromLatin1(gbk.data(), static_cast<qsizetype>(gbk.size()));
    }
    const std::string utf8 = GbkToUtf8(gbk);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQt(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return Utf8ToGbk(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

}  // namespace quarrant
