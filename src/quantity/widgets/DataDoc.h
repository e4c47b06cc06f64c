#pragma once

// CDataDoc: the document of a data window, bound to the project's data table (the node the
// project manager opens it for).

#include "project/Project.h"
#include "project/QuantityTable.h"

namespace quarrant {

class CDataDoc {
public:
    explicit CDataDoc(QuantityTable& dataTable) : m_dataTable(dataTable) {}

    QuantityTable& DataTable() const { return m_dataTable; }
    Project* GetProject() const { return m_dataTable.parent; }

private:
    QuantityTable& m_dataTable;
};

}  // namespace quarrant
