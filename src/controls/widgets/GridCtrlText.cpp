// The grid's clipboard commands and its delimited text files.

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include <cerrno>
#include <cstdio>

#include "base/FileIO.h"
#include "controls/GridInteraction.h"
#include "controls/GridText.h"
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
    std::FILE* file = std::fopen(FsPath(fileName).c_str(), "wb");
    if (file == nullptr) {
        ShowMessage(FileOpenErrorMessage(fileName));
        return false;
    }
    const std::string bytes = GridSaveText(*m_model, static_cast<char>(separator));
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        ShowMessage("Unable to save grid list");
        return false;
    }
    return true;
}

bool CGridCtrl::Load(std::string_view fileName, int separator) {
    std::FILE* file = std::fopen(FsPath(fileName).c_str(), "rb");
    if (file == nullptr) {
        ShowMessage(FileOpenErrorMessage(fileName));
        return false;
    }
    EndEditing();
    std::string bytes;
    char buffer[65536];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, count);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        // Keep what was read up to the error: its complete lines.
        const std::size_t lastLineEnd = bytes.rfind('\n');
        bytes.resize(lastLineEnd == std::string::npos ? 0 : lastLineEnd + 1);
    }
    GridLoadText(*m_model, bytes, static_cast<char>(separator));
    m_interaction->ForgetSelectionStart();
    AutoSizeColumns(GetAutoSizeStyle());
    Refresh();
    if (failed) {
        ShowMessage("Unable to load grid data");
        return false;
    }
    return true;
}

}  // namespace quarrant
