#pragma once

// CDrawDoc: the document of a drawing window, bound to one drawing of a project and to that
// project's data table (the rows taken on the drawing live there). The drawing itself stays
// with the project.

#include "project/Drawing.h"
#include "project/Project.h"
#include "project/QuantityTable.h"

namespace quarrant {

class CDrawDoc {
public:
    explicit CDrawDoc(Drawing& drawing)
        : m_drawing(drawing), m_dataTable(drawing.parent->dataTable) {}

    Drawing& GetDrawing() const { return m_drawing; }
    QuantityTable& DataTable() const { return m_dataTable; }
    Project* GetProject() const { return m_drawing.parent; }

private:
    Drawing& m_drawing;
    QuantityTable& m_dataTable;
};

}  // namespace quarrant
