#pragma once

// "数据添加页" (dialog 1000), the data-entry page: the structure's name and count, its 19
// component lines (each set in the component dialog that covers the page) and the add button
// that hands the finished entry to the host sheet with WM_PAGE_ADDENTRY.

#include <QWidget>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Catalogue.h"
#include "quantity/QuantityEntry.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace quarrant {

class CSubDlg;

class CPage : public QWidget {
public:
    // Mode 0: the page of a drawing window; 1: of the data window (nothing to pick from). The
    // catalogues stay the host's and are edited in place; the program folder (GBK) holds
    // "部位或轴线.ini".
    CPage(std::int32_t mode, Catalogue* materials, Catalogue* structures,
          std::string programFolder);
    // Destroys the component dialog and keeps its parts and axes in "部位或轴线.ini".
    ~CPage() override;
    CPage(const CPage&) = delete;
    CPage& operator=(const CPage&) = delete;

    // Data picked on the drawing in pick mode 0 (structure count) or 1-4 (the component
    // dialog's length, width, height or count); the text is copied.
    void SetCadData(std::string_view text, std::int32_t mode);

    // Sends a message to the host sheet and returns when it is handled; nothing when the page
    // sits in no sheet.
    void SendToSheet(int message, std::uintptr_t wParam, std::intptr_t lParam);

    std::int32_t Mode() const { return m_mode; }
    QuantityEntry& Entry() { return m_entry; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void AddStructureName();     // "+" (1022)
    void RemoveStructureName();  // "－" (1023)
    void PickCount();            // "数" (1010)
    void OpenComponent(int index);
    void AddData();  // "<<<<       添加数据" (1009)
    void ResetPage();

    std::vector<std::int32_t> m_entities;  // picked with "数", waiting for the next add
    Catalogue m_ownMaterials;              // stand in when the host hands no catalogue
    Catalogue m_ownStructures;
    Catalogue* m_materials;
    Catalogue* m_structures;
    QuantityEntry m_entry;
    CSubDlg* m_subDlg = nullptr;
    std::string m_programFolder;
    std::int32_t m_mode;

    QComboBox* m_name = nullptr;                          // 1000
    QPushButton* m_addName = nullptr;                     // 1022
    QPushButton* m_removeName = nullptr;                  // 1023
    QLineEdit* m_count = nullptr;                         // 1047
    QPushButton* m_pickCount = nullptr;                   // 1010
    std::array<QCheckBox*, kComponentCount> m_buttons{};  // 1028-1046
    QPushButton* m_add = nullptr;                         // 1009
};

}  // namespace quarrant
