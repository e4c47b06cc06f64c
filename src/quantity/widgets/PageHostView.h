#pragma once

// The pane that hosts the data-entry page of the plug-in in a property sheet: the data
// window's CDataAddView and the drawing window's CDrawAddView. At initial update it loads
// Ferrolet.so from the program folder and adds the page InitPage makes (mode 1 in the data
// window, 0 in a drawing window) to its sheet; when destroyed it gives every page to Clear and
// unloads the library. Without the library the sheet stays empty and nothing is said; a
// library that cannot be loaded or lacks an export is refused, and why goes to standard error.

#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "quantity/widgets/PlugInLibrary.h"

namespace quarrant {

class AppContext;
class CPageSheet;

// One loaded plug-in and its page.
struct PlugInRecord {
    std::unique_ptr<PlugInLibrary> library;
    QWidget* page = nullptr;
    std::string name;  // empty: no part of the program names its plug-ins
};

class CPageHostView : public QWidget {
    Q_OBJECT

public:
    ~CPageHostView() override;

    // Loads the plug-in and adds its page to the sheet (once).
    void InitialUpdate();

    CPageSheet* Sheet() const { return m_sheet; }
    const std::vector<PlugInRecord>& PlugIns() const { return m_plugIns; }
    // The first loaded page, or nullptr.
    QWidget* Page() const;

    // Hands picked data to every loaded page (SetCadData, looked up by name for each call).
    void SetCadData(const std::string& text, std::int32_t mode);

protected:
    // The view takes the sheet as its child; mode is InitPage's.
    CPageHostView(AppContext& app, CPageSheet* sheet, std::int32_t mode, QWidget* parent);

    AppContext& m_app;

private:
    CPageSheet* m_sheet = nullptr;
    std::int32_t m_mode = 0;
    bool m_updated = false;
    std::vector<PlugInRecord> m_plugIns;  // in load order
};

}  // namespace quarrant
