#pragma once

// The application's own state besides the workspace: the program folder, the catalogues, the
// precisions, the colour table and the progress counters. The application owns the one
// instance; windows reach it through the application context.

#include <atomic>
#include <memory>
#include <string>

#include "base/Catalogue.h"
#include "base/HashMap17.h"
#include "cad/CadDrawing.h"

namespace quarrant {

// Precisions when Set.ini is missing.
inline constexpr float kDefaultCoordinatePrecision = 1.0f;  // mm
inline constexpr float kDefaultLineAnglePrecision = 0.01f;  // radians

class Settings {
public:
    Settings() = default;
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    std::string programFolder;  // GBK, without the final separator
    std::string currentProjectType;
    HashMap17<std::string, std::string> projectTypes;  // keys fill the project-type choice

    // Counters of the running worker thread, polled by the progress dialog; 0 when idle.
    std::atomic<int> progressTotal{0};
    std::atomic<int> progressDone{0};

    Catalogue materialCatalogue;   // key: material name and specification
    Catalogue structureCatalogue;  // key: structure name
    // Whether writing the catalogue at exit can lose nothing: it holds its file's contents, or
    // the file was missing or empty. Not so for a structure file left unread because the
    // material file was empty.
    bool materialCatalogueLoaded = true;
    bool structureCatalogueLoaded = true;

    float coordinatePrecision = kDefaultCoordinatePrecision;  // mm; Set.ini line 1
    float lineAnglePrecision = kDefaultLineAnglePrecision;    // radians; Set.ini line 2

    // COLOR.ini of the program folder, shared by every drawing.
    std::shared_ptr<const CCadColorTable> colorTable;
};

}  // namespace quarrant
