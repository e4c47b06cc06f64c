#include "quantity/RowViewState.h"

#include <memory>
#include <utility>

#include "quantity/RowColumns.h"
#include "quantity/RowQuantities.h"

namespace quarrant {

namespace {

void CopyEntryTexts(const EntryTexts& texts, QuantityRow& row) {
    row.itemName = texts[kEntryItemName];
    row.material = texts[kEntryMaterial];
    row.partOrAxis = texts[kEntryPartOrAxis];
    row.count = texts[kEntryCount];
    row.length = texts[kEntryLength];
    row.width = texts[kEntryWidth];
    row.height = texts[kEntryHeight];
    row.area = texts[kEntryArea];
    row.volume = texts[kEntryVolume];
    row.unit = texts[kEntryUnit];
    row.quantity = texts[kEntryQuantity];
    row.unitWeight = texts[kEntryUnitWeight];
}

// The map a row lives in: its parent's children, or the table's top-level rows.
QuantityRowMap& ContainerOf(QuantityRowMap& table, const QuantityRow& row) {
    return row.parent != nullptr ? row.parent->children : table;
}

void RemoveFromContainer(QuantityRowMap& table, const QuantityRowPtr& row) {
    QuantityRowMap& container = ContainerOf(table, *row);
    const QuantityRowPtr* held = container.Lookup(row->identifier);
    if (held != nullptr && held->get() == row.get()) {
        container.RemoveKey(row->identifier);
    }
}

void PutBack(QuantityRowMap& table, const QuantityRowPtr& row) {
    ContainerOf(table, *row).SetAt(row->identifier, row);
}

}  // namespace

const QuantityRowPtr& UndoItem::Row() const {
    if (addedTop) {
        return addedTop;
    }
    if (addedChild) {
        return addedChild;
    }
    return deletedTop ? deletedTop : deletedChild;
}

RowViewState::RowViewState(RowStore& store, std::optional<std::string> drawingName)
    : m_store(store) {
    m_windowRows.drawingName = std::move(drawingName);
}

UndoRecord& RowViewState::NewRecord(std::int32_t kind) {
    // Records after the undo position are undone actions that can no longer be redone.
    m_records.resize(static_cast<std::size_t>(m_undoPosition));
    m_records.push_back(UndoRecord{kind, 0, {}});
    ++m_undoPosition;
    m_canUndo = 1;
    m_canRedo = 0;
    return m_records.back();
}

void RowViewState::UpdateFlags() {
    m_canUndo = m_undoPosition != 0 ? 1 : 0;
    m_canRedo = m_undoPosition != static_cast<int>(m_records.size()) ? 1 : 0;
}

Result<QuantityRowPtr> RowViewState::AddEntry(const QuantityEntry& entry) {
    std::int64_t needed = 1;
    for (const EntryComponent& component : entry.components) {
        needed += component.used == 1 ? 1 : 0;
    }
    if (m_store.IdentifiersLeft() < needed) {
        return Status::Failure(kNoIdentifiersLeftMessage);
    }
    m_store.SetModified();
    UndoRecord& record = NewRecord(UndoRecord::kAdded);
    const bool drawing = IsDrawingWindow();

    auto top = std::make_shared<QuantityRow>();
    top->identifier = m_store.NewRowIdentifier();
    m_store.Rows().SetAt(top->identifier, top);
    record.items.push_back(UndoItem{0, top, {}, {}, {}, {}});
    CopyEntryTexts(entry.texts, *top);
    if (drawing) {
        top->drawingName = *m_windowRows.drawingName;
        top->list1 = entry.entities;
    }

    for (const EntryComponent& component : entry.components) {
        if (component.used != 1) {
            continue;
        }
        auto child = std::make_shared<QuantityRow>();
        child->identifier = m_store.NewRowIdentifier();
        child->parent = top.get();
        top->children.SetAt(child->identifier, child);
        record.items.push_back(UndoItem{1, {}, child, {}, {}, {}});
        CopyEntryTexts(component.texts, *child);
        if (drawing) {
            child->list1 = component.countEntities;
            child->list2 = component.lengthEntities;
            child->list3 = component.widthEntities;
            child->list4 = component.heightEntities;
        }
    }
    return top;
}

std::optional<std::int32_t> RowViewState::DeleteRow(QuantityRow& row) {
    QuantityRowMap& table = m_store.Rows();
    QuantityRowPtr held;
    QuantityRowPtr parent;
    if (row.parent == nullptr) {
        if (const QuantityRowPtr* found = table.Lookup(row.identifier); found != nullptr) {
            held = *found;
        }
    } else {
        // A child whose parent has left the table is no longer the project's.
        const QuantityRowPtr* owner = table.Lookup(row.parent->identifier);
        if (owner != nullptr && owner->get() == row.parent) {
            parent = *owner;
            if (const QuantityRowPtr* found = row.parent->children.Lookup(row.identifier)) {
                held = *found;
            }
        }
    }
    if (held == nullptr || held.get() != &row) {
        return std::nullopt;
    }
    m_store.SetModified();
    RemoveFromContainer(table, held);
    UndoRecord& record = NewRecord(UndoRecord::kDeleted);
    if (parent != nullptr) {
        record.items.push_back(UndoItem{1, {}, {}, {}, held, parent});
    } else {
        record.items.push_back(UndoItem{0, {}, {}, held, {}, {}});
    }
    return row.identifier;
}

std::optional<std::int32_t> RowViewState::Undo() {
    if (m_undoPosition == 0) {
        return std::nullopt;
    }
    UndoRecord& record = m_records[static_cast<std::size_t>(m_undoPosition - 1)];
    --m_undoPosition;
    QuantityRowMap& table = m_store.Rows();
    for (const UndoItem& item : record.items) {
        if (record.kind == UndoRecord::kAdded) {
            RemoveFromContainer(table, item.Row());
        } else {
            PutBack(table, item.Row());
        }
    }
    record.undone = 1;
    m_store.SetModified();
    UpdateFlags();
    // The data window selects the last row the record names; the drawing window the last row
    // removed again, and nothing after restoring a deleted row.
    if (record.items.empty() || (IsDrawingWindow() && record.kind == UndoRecord::kDeleted)) {
        return 0;
    }
    return record.items.back().Row()->identifier;
}

std::optional<std::int32_t> RowViewState::Redo() {
    if (m_undoPosition >= static_cast<int>(m_records.size())) {
        return std::nullopt;
    }
    UndoRecord& record = m_records[static_cast<std::size_t>(m_undoPosition)];
    ++m_undoPosition;
    QuantityRowMap& table = m_store.Rows();
    for (const UndoItem& item : record.items) {
        if (record.kind == UndoRecord::kAdded) {
            PutBack(table, item.Row());
        } else {
            RemoveFromContainer(table, item.Row());
        }
    }
    record.undone = 0;
    m_store.SetModified();
    UpdateFlags();
    return record.items.empty() ? 0 : record.items.back().Row()->identifier;
}

RowViewState::CellEdit RowViewState::EditCell(QuantityRow& row, int col, const std::string& text) {
    CellEdit edit;
    std::string* field = RowField(row, col);
    if (field == nullptr) {
        return edit;
    }
    QuantityRow* top = row.parent != nullptr ? row.parent : &row;
    switch (col) {
        case kColItemName:
        case kColPartOrAxis:
        case kColMaterial:
        case kColUnitWeight:
            *field = text;
            edit.accepted = true;
            break;
        case kColCount:
            *field = text;
            edit.accepted = true;
            if (row.parent != nullptr) {
                edit.quantityChanged = RecomputeComponentQuantity(row, QuantityForm::kFilledFields);
            }
            RecomputeStructureQuantity(*top);
            edit.structure = top;
            break;
        case kColLength:
        case kColWidth:
        case kColHeight:
        case kColArea:
        case kColVolume: {
            if (field->empty() || text.empty()) {
                break;
            }
            *field = text;
            edit.accepted = true;
            const QuantityForm form = col == kColArea     ? QuantityForm::kArea
                                      : col == kColVolume ? QuantityForm::kVolume
                                                          : QuantityForm::kLength;
            edit.quantityChanged = RecomputeComponentQuantity(row, form);
            if (row.parent != nullptr) {
                RecomputeStructureQuantity(*row.parent);
                edit.structure = row.parent;
            }
            break;
        }
        default:  // 单位 and 工程量 are not editable
            break;
    }
    edit.cellText = *field;
    if (edit.accepted) {
        m_store.SetModified();
    }
    return edit;
}

}  // namespace quarrant
