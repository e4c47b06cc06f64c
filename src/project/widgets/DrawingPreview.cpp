#include "project/widgets/DrawingPreview.h"

#include "cad/widgets/CadCtrl.h"

namespace quarrant {

namespace {

constexpr int kPreviewControlId = 1016;

class CadCtrlPreview final : public DrawingPreview {
public:
    explicit CadCtrlPreview(QWidget* parent) : m_control(new CCadCtrl(parent)) {
        m_control->setObjectName(QStringLiteral("Preview1016"));
        m_control->Create(QRect(0, 0, 480, 320), parent, kPreviewControlId);
    }

    QWidget* Widget() override { return m_control; }
    void ShowFile(CCadFile* file) override { m_control->SetFile(file); }
    void ZoomToFit() override { m_control->ZoomToFit(); }
    double Scale() const override { return m_control->Scale(); }

private:
    CCadCtrl* m_control;  // owned by its parent widget
};

}  // namespace

std::unique_ptr<DrawingPreview> CreateDrawingPreview(QWidget* parent) {
    return std::make_unique<CadCtrlPreview>(parent);
}

}  // namespace quarrant
