#pragma once

// The preview of the add-drawing dialog behind a small interface: it shows the drawing of a
// CCadFile zoomed to fit, scale = the smaller of (client width - 2) / (maxX - minX) and
// (client height - 2) / (maxY - minY). The dialog uses only this interface; the control behind
// it is the CAD control (CCadCtrl), created as child 1016.

#include <QWidget>

#include <memory>

#include "cad/CadDrawing.h"

namespace quarrant {

class DrawingPreview {
public:
    virtual ~DrawingPreview() = default;
    // The control (a child of the parent given at creation, object name "Preview1016").
    virtual QWidget* Widget() = 0;
    // Shows the file's drawing (nullptr or a file without drawing: an empty preview). The
    // file stays the caller's and must outlive its use here.
    virtual void ShowFile(CCadFile* file) = 0;
    virtual void ZoomToFit() = 0;
    // Screen pixels per drawing unit.
    virtual double Scale() const = 0;
};

std::unique_ptr<DrawingPreview> CreateDrawingPreview(QWidget* parent);

}  // namespace quarrant
