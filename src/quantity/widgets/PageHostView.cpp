#include "quantity/widgets/PageHostView.h"

#include <cstdio>

#include "base/FileIO.h"
#include "base/GbkText.h"
#include "platform/AppContext.h"
#include "project/Settings.h"
#include "quantity/widgets/PageSheet.h"

namespace quarrant {

CPageHostView::CPageHostView(AppContext& app, CPageSheet* sheet, std::int32_t mode, QWidget* parent)
    : QWidget(parent), m_app(app), m_sheet(sheet), m_mode(mode) {
    m_sheet->setParent(this);
    m_sheet->show();
}

CPageHostView::~CPageHostView() {
    // The pages go before their libraries, and both before the sheet that shows the pages.
    for (PlugInRecord& record : m_plugIns) {
        if (ClearFunction clear = record.library->Clear()) {
            clear(record.page);
        }
        record.page = nullptr;
        record.library.reset();
    }
    m_plugIns.clear();
}

void CPageHostView::InitialUpdate() {
    if (m_updated) {
        return;
    }
    m_updated = true;
    Settings& settings = m_app.GetSettings();
    Result<std::unique_ptr<PlugInLibrary>> loaded =
        PlugInLibrary::Load(JoinPath(settings.programFolder, kFerroletFileName));
    if (!loaded) {
        if (!loaded.Message().empty()) {
            std::fprintf(stderr, "%s\n", GbkToUtf8(loaded.Message()).c_str());
        }
        return;
    }
    PlugInRecord record;
    record.library = std::move(loaded).Value();
    if (InitPageFunction initPage = record.library->InitPage()) {
        record.page = initPage(m_mode, &settings.materialCatalogue, &settings.structureCatalogue,
                               settings.programFolder.c_str());
    }
    if (record.page != nullptr) {
        m_sheet->addTab(record.page, record.page->windowTitle());
        // The sheet takes the size of its page, as a property sheet does when it is made.
        m_sheet->resize(m_sheet->sizeHint());
    }
    m_plugIns.push_back(std::move(record));
}

QWidget* CPageHostView::Page() const {
    for (const PlugInRecord& record : m_plugIns) {
        if (record.page != nullptr) {
            return record.page;
        }
    }
    return nullptr;
}

void CPageHostView::SetCadData(const std::string& text, std::int32_t mode) {
    for (const PlugInRecord& record : m_plugIns) {
        if (SetCadDataFunction setCadData = record.library->SetCadData()) {
            setCadData(record.page, text.c_str(), mode);
        }
    }
}

}  // namespace quarrant
