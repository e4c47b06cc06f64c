// The grid's copy, cut, paste and clear, and the saving and loading of its text files.

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "controls/GridDelimitedText.h"
#include "controls/GridInteraction.h"
#include "controls/widgets/GridCtrl.h"
#include "controls/widgets/InPlaceEdit.h"
#include "controls/widgets/ShowMessage.h"
#include "platform/QtText.h"

namespace quarrant {

std::string CGridCtrl::CopyTextFromGrid() const {
    return BuildClipboardText(*m_model, m_model->GetSelectedCellRange());
}

void CGridCtrl::OnEditCopy() {
    const CCellRange range = m_model->GetSelectedCellRange();
    if (!range.IsValid()) {
        return;
    }
    QApplication::clipboard()->setText(ToQt(CopyTextFromGrid()));
}

void CGridCtrl::OnEditClear() {
    m_interaction->ClearSelectedTexts();
}

void CGridCtrl::OnEditCut() {
    if (!IsEditable()) {
        return;
    }
    OnEditCopy();
    OnEditClear();
}

void CGridCtrl::OnEditSelectAll() {
    SelectAllCells();
}

bool CGridCtrl::PasteTextToGrid(CCellID cell, std::string_view gbkText) {
    const CGridCellBase* target = GetCell(cell.row, cell.col);
    if (target == nullptr || !IsEditable() || target->IsReadOnly()) {
        return false;
    }
    EndEditing();
    auto store = [this](int row, int col, const std::string& text) {
        CGridCellBase* object = GetCell(row, col);
        if (object == nullptr || object->IsReadOnly()) {
            return false;
        }
        const std::string oldText = object->GetText();
        object->SetText(text);
        const bool accepted = ValidateEdit(row, col, text);
        if (CGridCellBase* again = GetCell(row, col)) {
            if (accepted) {
                m_model->SetModified(true, row, col);
            } else {
                again->SetText(oldText);
            }
        }
        return accepted;
    };
    const CCellRange pasted = PasteGridText(*m_model, cell.row, cell.col, gbkText, store);
    if (pasted.IsValid()) {
        m_model->SetSelectedRange(pasted);
    }
    viewport()->update();
    return pasted.IsValid();
}

void CGridCtrl::OnEditPaste() {
    if (!IsEditable()) {
        return;
    }
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText()) {
        return;
    }
    CCellID target = m_model->GetSelectedCellRange().GetTopLeft();
    if (!IsValid(target.row, target.col)) {
        target = GetFocusCell();
    }
    if (!IsValid(target.row, target.col)) {
        target = GetVisibleNonFixedCellRange().GetTopLeft();
    }
    PasteTextToGrid(target, FromQt(data->text()));
}

bool CGridCtrl::Save(std::string_view fileName, int separator) {
    const Status saved = SaveGridFile(*m_model, fileName, static_cast<char>(separator));
    if (!saved) {
        ShowMessage(saved.Message());
    }
    return saved.Ok();
}

bool CGridCtrl::Load(std::string_view fileName, int separator) {
    Result<GridFileBytes> file = ReadGridFile(fileName);
    if (!file) {
        ShowMessage(file.Message());
        return false;
    }
    EndEditing();
    GridLoadText(*m_model, file.Value().bytes, static_cast<char>(separator));
    m_interaction->ForgetSelectionStart();
    AutoSizeColumns(GetAutoSizeStyle());
    Refresh();
    if (const Status& read = file.Value().readStatus; !read) {
        ShowMessage(read.Message());
        return false;
    }
    return true;
}

}  // namespace quarrant
