#pragma once

// "添加图对话框": a drawing name, "选择图纸" to import a DXF file into a preview zoomed to fit,
// the unit and scale (editable lists, "mm" and "1:1" by default), "添加" and "取消". It holds
// the project it adds to and the imported drawing, which it hands over after "添加" and
// destroys otherwise.

#include <QDialog>

#include <memory>
#include <string>

#include "cad/CadDrawing.h"
#include "cad/ScaleCheck.h"
#include "project/widgets/DrawingPreview.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quarrant {

class Project;

class CAddDrawDlg : public QDialog {
    Q_OBJECT

public:
    CAddDrawDlg(Project& project, std::shared_ptr<const CCadColorTable> colorTable,
                double coordinatePrecision, QWidget* parent = nullptr);
    ~CAddDrawDlg() override;

    // The values after "添加" (GBK).
    std::string DrawingName() const;
    std::string Unit() const;
    std::string Scale() const;
    // The imported drawing; the dialog holds none afterwards.
    std::unique_ptr<CCadFile> TakeCadFile() { return std::move(m_cadFile); }
    const CCadFile* CadFile() const { return m_cadFile.get(); }

    QLineEdit* NameEdit() const { return m_name; }          // 1014
    QPushButton* ChooseButton() const { return m_choose; }  // 1002
    QComboBox* UnitCombo() const { return m_unit; }         // 1017
    QComboBox* ScaleCombo() const { return m_scale; }       // 1019
    QPushButton* AddButton() const { return m_add; }
    // What the drawing's dimensions say about the scale (empty when they say nothing).
    QLabel* ScaleHint() const { return m_scaleHint; }
    const ScaleEstimate& Estimate() const { return m_estimate; }
    DrawingPreview* Preview() const { return m_preview.get(); }  // 1016

    // "选择图纸": the file-open dialog, then the name (when empty) and the import.
    void ChooseDrawing();
    // "添加": the checks in order; the dialog stays open on a refusal. A unit and scale that
    // disagree with the drawing's dimensions are added only when the user confirms them.
    void accept() override;

private:
    void ShowScaleHint();

    Project& m_project;
    std::shared_ptr<const CCadColorTable> m_colorTable;
    double m_coordinatePrecision;
    std::unique_ptr<CCadFile> m_cadFile;
    QLineEdit* m_name = nullptr;
    QPushButton* m_choose = nullptr;
    QComboBox* m_unit = nullptr;
    QComboBox* m_scale = nullptr;
    QPushButton* m_add = nullptr;
    QLabel* m_scaleHint = nullptr;
    ScaleEstimate m_estimate;
    std::unique_ptr<DrawingPreview> m_preview;
};

}  // namespace quarrant
