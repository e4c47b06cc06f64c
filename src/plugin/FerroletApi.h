#pragma once

// The contract between Quarrant and the data-entry page plug-in: the file name of the library
// in the program folder and the four C-linkage exports, looked up by these names. Header-only,
// compiled by both sides.

#include <cstdint>

#include "base/Catalogue.h"

class QWidget;

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

}  // namespace quarrant
