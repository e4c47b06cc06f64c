#include "platform/ProgramLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quarrant {

bool InstallChineseStandardTexts() {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        return false;
    }
    constexpr const char* kName = "quarrantStandardTexts";
    if (application->findChild<QTranslator*>(QLatin1String(kName), Qt::FindDirectChildrenOnly)) {
        return true;
    }
    auto* translator = new QTranslator(application);
    translator->setObjectName(QLatin1String(kName));
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace quarrant
