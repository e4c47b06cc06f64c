#pragma once

#include <string>

#include "cad/CadDrawing.h"
#include "project/TreeItemHandle.h"

namespace quarrant {

class Project;

// "图": kind label of drawing nodes.
inline constexpr const char* kDrawingKind = "\xCD\xBC";

// A drawing of a project: its names, its unit and scale as chosen when it was added, and the
// drawing data a drawing window shows.
class Drawing {
public:
    explicit Drawing(Project* owner) : parent(owner) {}
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;

    Project* parent = nullptr;
    std::string kindLabel = kDrawingKind;
    TreeItemHandle treeItem = nullptr;
    std::string drawingName;  // unique within the project; rows refer to their drawing by it
    std::string fileName;     // "YZN%d" of the drawing file in the project folder
    std::string spareText;    // not saved
    std::string unit;         // "mm", "cm", "m", "10m", "100m", "km" or as typed
    std::string scale;        // "1:1" or as typed
    CCadFile cadFile;         // owns the CCadDrawing; never without one after load or add
};

}  // namespace quarrant
