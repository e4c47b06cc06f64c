#pragma once

// The rows of a project's data table as a row view keeps them: new rows take the table's next
// row identifiers, and every change makes the project modified.

#include <cstdint>

#include "project/Project.h"
#include "project/QuantityTable.h"
#include "quantity/RowViewState.h"

namespace quarrant {

class TableRowStore final : public RowStore {
public:
    explicit TableRowStore(QuantityTable& table) : m_table(table) {}

    QuantityTable& Table() const { return m_table; }

    QuantityRowMap& Rows() override { return m_table.rows; }
    std::int64_t IdentifiersLeft() const override {
        return std::int64_t{INT32_MAX} - m_table.nextRowIdentifier;
    }
    std::int32_t NewRowIdentifier() override { return m_table.NewRowIdentifier(); }
    void SetModified() override {
        if (m_table.parent != nullptr) {
            m_table.parent->modified = 1;
        }
    }

private:
    QuantityTable& m_table;
};

}  // namespace quarrant
