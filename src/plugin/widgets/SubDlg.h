#pragma once

// The component dialog (dialog 1003): one component line of the page — material, part or
// axis, count, the dimensions in one of three measuring modes, unit and unit weight. "设置"
// computes the line's quantity, writes the line into its component record and checks the
// page's button for it; "取消设置" clears the line. It covers the page while it is open.

#include <QWidget>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Catalogue.h"
#include "base/HashMap17.h"
#include "plugin/ComponentRules.h"
#include "quantity/QuantityEntry.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quarrant {

class CPage;
class CTreeDlg;

class CSubDlg : public QWidget {
public:
    // partNames: the parts and axes offered at first (kept from earlier pages).
    CSubDlg(CPage* page, std::int32_t pageMode, Catalogue* materials,
            const std::vector<std::string>& partNames);
    ~CSubDlg() override;
    CSubDlg(const CSubDlg&) = delete;
    CSubDlg& operator=(const CSubDlg&) = delete;

    // Shows the dialog over the page with the line's values; button is the page's button of
    // the line. The line's entity lists move into the dialog until the line is set.
    void Open(EntryComponent& component, QCheckBox* button);

    // Picked on the drawing: the count (pick mode 4), or the condensed values of the length,
    // area or volume (1), width (2) or height (3), with the entities they came from.
    void TakeCount(std::string_view count, std::vector<std::int32_t> identifiers);
    void TakeMeasure(std::int32_t pickMode, std::string_view values,
                     std::vector<std::int32_t> identifiers);

    // Every part or axis set since the dialog was created, in the set's order.
    std::vector<std::string> PartNames() const;

private:
    void SetMeasuringMode(int mode, bool applyUnitRule);
    void ApplyUnitRule();
    void EnableField(int field, bool enabled);
    void SetUnit(std::string_view unit);
    ComponentFields Fields() const;
    void AddPart(const std::string& part);

    void Set();        // "设置" (1025)
    void ClearLine();  // "取消设置" (1026)
    void StopAtCheck(const std::string& message);
    void AddMaterial();     // "+" (1049)
    void RemoveMaterial();  // "－" (1050)
    void DropDownMaterials();
    void MaterialChosen(const std::string& name);
    void Pick(std::int32_t pickMode);

    CPage* m_page;
    std::int32_t m_pageMode;
    int m_measuringMode = kMeasureLength;
    EntryComponent* m_component = nullptr;
    QCheckBox* m_button = nullptr;
    Catalogue* m_materials;
    std::vector<std::int32_t> m_countIds;
    std::vector<std::int32_t> m_lengthIds;
    std::vector<std::int32_t> m_widthIds;
    std::vector<std::int32_t> m_heightIds;
    HashMap17<std::string, char> m_partSet;
    CTreeDlg* m_tree = nullptr;

    QComboBox* m_material = nullptr;  // 1000
    QComboBox* m_part = nullptr;      // 1002
    QComboBox* m_count = nullptr;     // 1003
    // 1005 (length, area or volume), 1006 (width), 1007 (height) and their "量" buttons 1011,
    // 1012, 1013.
    std::array<QComboBox*, 3> m_measures{};
    std::array<QPushButton*, 3> m_measurePicks{};
    QLabel* m_measureLabel = nullptr;        // 1019
    QPushButton* m_pickCount = nullptr;      // 1010
    QComboBox* m_unit = nullptr;             // 1008
    QLineEdit* m_unitWeight = nullptr;       // 1018
    std::array<QRadioButton*, 3> m_modes{};  // 1014, 1015, 1017
};

}  // namespace quarrant
