#pragma once

// The contract between Quarrant and the data-entry page plug-in: the file name of the library
// in the program folder and the four C-linkage exports, looked up by these names. Header-only,
// compiled by both sides.

#include <QVariant>
#include <QWidget>

#include <cstdint>

#include "base/Catalogue.h"

namespace quarrant {

// The plug-in's file in the program folder.
inline constexpr const char* kFerroletFileName = "Ferrolet.so";

// Modes of InitPage: the page of a drawing window, or of the data window (no drawing).
inline constexpr std::int32_t kPageModeDrawing = 0;
inline constexpr std::int32_t kPageModeData = 1;

// Export names.
inline constexpr const char* kInitPageExport = "InitPage";
inline constexpr const char* kSetCadDataExport = "SetCadData";
inline constexpr const char* kTiquExport = "Tiqu";
inline constexpr const char* kClearExport = "Clear";

// Creates the page (a widget not yet shown; the host parents it into its sheet). The program
// folder (GBK) is copied. The catalogues stay the host's; the page edits them in place.
using InitPageFunction = QWidget* (*)(std::int32_t mode, Catalogue* materialCatalogue,
                                      Catalogue* structureCatalogue, const char* programFolder);
// Delivers picked data ("values&identifiers", GBK/ASCII) in pick mode 0-4; the text stays the
// caller's and is copied before the call returns.
using SetCadDataFunction = void (*)(QWidget* page, const char* text, std::int32_t mode);
// Takes the item name, unit and unit weight of a row to reuse (texts copied; no other effect).
using TiquFunction = void (*)(QWidget* page, const char* itemName, const char* unit,
                              const char* unitWeight);
// Destroys the page (nothing for null); called once before the library is unloaded.
using ClearFunction = void (*)(QWidget* page);

// The page's parent window is the host's property sheet, which receives WM_PAGE_ADDENTRY and
// WM_PAGE_PICK (platform/MessageEvent.h, sent synchronously). In Qt the page sits some levels
// below the sheet widget, so the host marks its sheet with this property and the page sends
// to the nearest ancestor that carries it.
inline constexpr const char* kPageSheetProperty = "quarrantPageSheet";

inline void MarkAsPageSheet(QWidget* sheet) {
    sheet->setProperty(kPageSheetProperty, true);
}

// The sheet that hosts the page, or nullptr while the page is not in one.
inline QWidget* PageSheetOf(const QWidget* page) {
    for (QWidget* widget = page != nullptr ? page->parentWidget() : nullptr; widget != nullptr;
         widget = widget->parentWidget()) {
        if (widget->property(kPageSheetProperty).toBool()) {
            return widget;
        }
    }
    return nullptr;
}

}  // namespace quarrant
