// A small data-entry page plug-in for the host's tests, built from this one source as a good
// library and, with TEST_PAGE_WITHOUT_<EXPORT> defined, as broken ones that lack one export.
// The page shows its mode and has one button that sends its entry to the sheet; the tests fill
// the entry through the extra export TestPageEntry and read what the exports received through
// TestPageLog.

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdint>
#include <string>

#include "platform/MessageEvent.h"
#include "plugin/FerroletApi.h"
#include "quantity/QuantityEntry.h"

#define TEST_PAGE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::string g_log;  // what the exports received, one line each

class TestPage : public QWidget {
public:
    explicit TestPage(std::int32_t mode) {
        setObjectName(QStringLiteral("TestPage"));
        setWindowTitle(QString::fromUtf8("数据添加页"));
        auto* layout = new QVBoxLayout(this);
        auto* label = new QLabel(QStringLiteral("mode %1").arg(mode), this);
        label->setObjectName(QStringLiteral("ModeLabel"));
        auto* add = new QPushButton(QString::fromUtf8("<<<<       添加数据"), this);
        add->setObjectName(QStringLiteral("AddButton"));
        layout->addWidget(label);
        layout->addWidget(add);
        layout->addStretch(1);
        QObject::connect(add, &QPushButton::clicked, this, [this] {
            if (QWidget* sheet = quarrant::PageSheetOf(this)) {
                quarrant::MessageEvent message(quarrant::WM_PAGE_ADDENTRY, 0,
                                               reinterpret_cast<std::intptr_t>(&entry));
                QCoreApplication::sendEvent(sheet, &message);
            }
        });
    }
    ~TestPage() override { g_log += "Clear\n"; }

    quarrant::QuantityEntry entry;
};

}  // namespace

#ifndef TEST_PAGE_WITHOUT_INITPAGE
TEST_PAGE_EXPORT QWidget* InitPage(std::int32_t mode, quarrant::Catalogue*, quarrant::Catalogue*,
                                   const char* programFolder) {
    g_log += "InitPage " + std::to_string(mode) + " " + programFolder + "\n";
    return new TestPage(mode);
}
#endif

#ifndef TEST_PAGE_WITHOUT_SETCADDATA
TEST_PAGE_EXPORT void SetCadData(QWidget*, const char* text, std::int32_t mode) {
    g_log += "SetCadData " + std::to_string(mode) + " " + text + "\n";
}
#endif

#ifndef TEST_PAGE_WITHOUT_TIQU
TEST_PAGE_EXPORT void Tiqu(QWidget*, const char*, const char*, const char*) {}
#endif

#ifndef TEST_PAGE_WITHOUT_CLEAR
TEST_PAGE_EXPORT void Clear(QWidget* page) {
    delete page;
}
#endif

TEST_PAGE_EXPORT quarrant::QuantityEntry* TestPageEntry(QWidget* page) {
    auto* testPage = dynamic_cast<TestPage*>(page);
    return testPage != nullptr ? &testPage->entry : nullptr;
}

TEST_PAGE_EXPORT const char* TestPageLog() {
    return g_log.c_str();
}
