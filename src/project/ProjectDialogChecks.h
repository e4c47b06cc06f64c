#pragma once

// The checks of the project and drawing dialogs, in the order the dialogs make them. Each
// returns the message to show (GBK), or an empty text when the input is accepted.

#include <string>
#include <string_view>

#include "project/Project.h"

namespace quarrant {

// "工程路径、工程类型和工程名称不能为空！"
inline constexpr const char* kEmptyNewProjectMessage =
    "\xB9\xA4\xB3\xCC\xC2\xB7\xBE\xB6\xA1\xA2\xB9\xA4\xB3\xCC\xC0\xE0\xD0\xCD\xBA\xCD\xB9\xA4\xB3"
    "\xCC\xC3\xFB\xB3\xC6\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5\xA3\xA1";
// "工程文件夹为空！"
inline constexpr const char* kEmptyProjectFolderMessage =
    "\xB9\xA4\xB3\xCC\xCE\xC4\xBC\xFE\xBC\xD0\xCE\xAA\xBF\xD5\xA3\xA1";
// "请添加图纸！"
inline constexpr const char* kNoDrawingChosenMessage =
    "\xC7\xEB\xCC\xED\xBC\xD3\xCD\xBC\xD6\xBD\xA3\xA1";
// "图纸名称已存在，请重新输入一个图纸名称！"
inline constexpr const char* kDrawingNameExistsMessage =
    "\xCD\xBC\xD6\xBD\xC3\xFB\xB3\xC6\xD2\xD1\xB4\xE6\xD4\xDA\xA3\xAC\xC7\xEB\xD6\xD8\xD0\xC2\xCA"
    "\xE4\xC8\xEB\xD2\xBB\xB8\xF6\xCD\xBC\xD6\xBD\xC3\xFB\xB3\xC6\xA3\xA1";
// "图纸名称、图纸单位、图纸比例尺不能为空！"
inline constexpr const char* kEmptyDrawingFieldsMessage =
    "\xCD\xBC\xD6\xBD\xC3\xFB\xB3\xC6\xA1\xA2\xCD\xBC\xD6\xBD\xB5\xA5\xCE\xBB\xA1\xA2\xCD\xBC\xD6"
    "\xBD\xB1\xC8\xC0\xFD\xB3\xDF\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5\xA3\xA1";
// "图纸比例尺应为两个正数以“:”相连，例如1:100！"
inline constexpr const char* kBadScaleMessage =
    "\xCD\xBC\xD6\xBD\xB1\xC8\xC0\xFD\xB3\xDF\xD3\xA6\xCE\xAA\xC1\xBD\xB8\xF6\xD5\xFD\xCA\xFD\xD2"
    "\xD4\xA1\xB0:\xA1\xB1\xCF\xE0\xC1\xAC\xA3\xAC\xC0\xFD\xC8\xE7"
    "1:100\xA3\xA1";
// "指定工程的路径": title of the folder browser of both project dialogs.
inline constexpr const char* kBrowseProjectFolderTitle =
    "\xD6\xB8\xB6\xA8\xB9\xA4\xB3\xCC\xB5\xC4\xC2\xB7\xBE\xB6";

// The units and scales the add-drawing dialog offers; the first of each is the default.
inline constexpr const char* kDrawingUnits[] = {"mm", "cm", "m", "10m", "100m", "km"};
inline constexpr const char* kDrawingScales[] = {"1:1"};

// New project, "创建": name, path and type must all be given. Making the folder comes next
// (MakeProjectFolder), and refuses an existing one.
std::string CheckNewProject(std::string_view name, std::string_view path, std::string_view type);

// Open project, "确定": the folder must be given.
std::string CheckOpenProject(std::string_view folder);

// The drawing name a chosen file suggests: its name without folder ("/" or "\") and without
// anything from the first "." on ("plan.a.dxf" gives "plan").
std::string DrawingNameFromFile(std::string_view path);

// Whether the scale is two positive numbers joined by ":" ("1:100", " 1 : 2.5 "). Every
// length taken from the drawing is multiplied by their ratio, so nothing else is accepted.
bool IsValidScale(std::string_view scale);

// Add drawing, "添加": a file must have been chosen; the name must be new within the project
// (exact comparison; other projects do not count); name, unit and scale must be given; and
// the scale must be a valid one.
std::string CheckAddDrawing(bool fileChosen, const Project& project, std::string_view name,
                            std::string_view unit, std::string_view scale);

}  // namespace quarrant
