#pragma once

// The fixed texts of the data-entry page, its component dialog and its material tree (GBK).

namespace quarrant {

// The page (dialog 1000).
inline constexpr char kPageCaption[] = "\xCA\xFD\xBE\xDD\xCC\xED\xBC\xD3\xD2\xB3";  // 数据添加页
inline constexpr char kStructureNameLabel[] =
    "\xBD\xE1\xB9\xB9\xC3\xFB\xB3\xC6\xA3\xBA";  // 结构名称：
inline constexpr char kStructureCountLabel[] =
    "\xBD\xE1\xB9\xB9\xCA\xFD\xC1\xBF\xA3\xBA";     // 结构数量：
inline constexpr char kPlus[] = "+";                // +
inline constexpr char kMinus[] = "\xA3\xAD";        // －
inline constexpr char kCountButton[] = "\xCA\xFD";  // 数
inline constexpr char kComponentGroup[] =
    "\xB5\xA5\xB8\xF6\xBD\xE1\xB9\xB9\xCA\xFD\xBE\xDD\xC9\xE8"
    "\xD6\xC3";  // 单个结构数据设置
inline constexpr char kComponentButtonCaption[] =
    "\xA1\xFB\xB5\xE3\xBB\xF7\xBD\xF8\xC8\xEB\xCA\xFD\xBE\xDD"
    "\xCA\xE4\xC8\xEB\xB4\xB0\xBF\xDA";  // ←点击进入数据输入窗口
inline constexpr char kAddButton[] =
    "<<<<       \xCC\xED\xBC\xD3\xCA\xFD\xBE\xDD";  // <<<<       添加数据
inline constexpr char kStructureNameEmpty[] =
    "\xBD\xE1\xB9\xB9\xC3\xFB\xB3\xC6\xB2\xBB\xC4\xDC\xCE\xAA"
    "\xBF\xD5";  // 结构名称不能为空
inline constexpr char kPartNamesFileName[] =
    "\xB2\xBF\xCE\xBB\xBB\xF2\xD6\xE1\xCF\xDF.ini";  // 部位或轴线.ini

// The component dialog (dialog 1003): labels and buttons.
inline constexpr char kMaterialLabel[] =
    "\xB2\xC4\xC1\xCF\xC0\xE0\xD0\xCD\xBC\xB0\xB9\xE6\xB8\xF1"
    "\xA3\xBA";  // 材料类型及规格：
inline constexpr char kPartLabel[] =
    "\xB2\xBF\xCE\xBB\xA1\xA2\xD6\xE1\xCF\xDF\xA3\xBA";  // 部位、轴线：
inline constexpr char kCountLabel[] =
    "\xCA\xFD\xC1\xBF\xA3\xA8\xB8\xF6\xA3\xA9\xA3\xBA";                      // 数量（个）：
inline constexpr char kMeasureButton[] = "\xC1\xBF";                         // 量
inline constexpr char kLengthLabel[] = "\xB3\xA4\xA3\xA8m\xA3\xA9\xA3\xBA";  // 长（m）：
inline constexpr char kAreaLabel[] =
    "\xC3\xE6\xBB\xFD\xA3\xA8m^2\xA3\xA9\xA3\xBA";  // 面积（m^2）：
inline constexpr char kVolumeLabel[] =
    "\xCC\xE5\xBB\xFD\xA3\xA8m^3\xA3\xA9\xA3\xBA";                           // 体积（m^3）：
inline constexpr char kWidthLabel[] = "\xBF\xED\xA3\xA8m\xA3\xA9\xA3\xBA";   // 宽（m）：
inline constexpr char kHeightLabel[] = "\xB8\xDF\xA3\xA8m\xA3\xA9\xA3\xBA";  // 高（m）：
inline constexpr char kUnitLabel[] = "\xB5\xA5\xCE\xBB\xA3\xBA";             // 单位：
inline constexpr char kUnitWeightLabel[] =
    "\xB5\xA5\xCE\xBB\xD6\xD8\xC1\xBF\xA3\xA8kg\xA3\xA9"
    "\xA3\xBA";  // 单位重量（kg）：
inline constexpr char kModeLengthWidthHeight[] =
    "\xB3\xA4\xA1\xC1\xBF\xED\xA1\xC1\xB8\xDF";                                // 长×宽×高
inline constexpr char kModeAreaHeight[] = "\xC3\xE6\xBB\xFD\xA1\xC1\xB8\xDF";  // 面积×高
inline constexpr char kModeVolume[] = "\xCC\xE5\xBB\xFD";                      // 体积
inline constexpr char kSetButton[] = "\xC9\xE8\xD6\xC3";                       // 设置
inline constexpr char kClearButton[] = "\xC8\xA1\xCF\xFB\xC9\xE8\xD6\xC3";     // 取消设置

// Its messages.
inline constexpr char kUnitOnlyAreaOrVolume[] =
    "\xB5\xA5\xCE\xBB\xD6\xBB\xC4\xDC\xCE\xAAm^2\xBB\xF2m^3";  // 单位只能为m^2或m^3
inline constexpr char kUnitEmpty[] =
    "\xB5\xA5\xCE\xBB\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5\xA3\xA1";  // 单位不能为空！
inline constexpr char kCountLengthEmpty[] =
    "\xCA\xFD\xC1\xBF\xA1\xA2\xB3\xA4\xB2\xBB\xC4\xDC\xCE\xAA"
    "\xBF\xD5\xA3\xA1";  // 数量、长不能为空！
inline constexpr char kCountLengthWidthEmpty[] =
    "\xCA\xFD\xC1\xBF\xA1\xA2\xB3\xA4\xA1\xA2\xBF\xED\xB2\xBB"
    "\xC4\xDC\xCE\xAA\xBF\xD5\xA3\xA1";  // 数量、长、宽不能为空！
inline constexpr char kCountLengthWidthHeightEmpty[] =
    "\xCA\xFD\xC1\xBF\xA1\xA2\xB3\xA4\xA1\xA2\xBF\xED\xA1\xA2"
    "\xB8\xDF\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5\xA3\xA1";  // 数量、长、宽、高不能为空！
inline constexpr char kCountAreaEmpty[] =
    "\xCA\xFD\xC1\xBF\xA1\xA2\xC3\xE6\xBB\xFD\xA1\xA2\xB2\xBB"
    "\xC4\xDC\xCE\xAA\xBF\xD5\xA3\xA1";  // 数量、面积、不能为空！
inline constexpr char kCountAreaHeightEmpty[] =
    "\xCA\xFD\xC1\xBF\xA1\xA2\xC3\xE6\xBB\xFD\xA1\xA2\xB8\xDF"
    "\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5\xA3\xA1";  // 数量、面积、高不能为空！
inline constexpr char kCountVolumeEmpty[] =
    "\xCA\xFD\xC1\xBF\xA1\xA2\xCC\xE5\xBB\xFD\xB2\xBB\xC4\xDC"
    "\xCE\xAA\xBF\xD5\xA3\xA1";  // 数量、体积不能为空！
inline constexpr char kCountVolumeEmptyAfterSquare[] =
    "\xCA\xFD\xC1\xBF\xA1\xA2\xCC\xE5\xBB\xFD\xA1\xA2\xB2\xBB"
    "\xC4\xDC\xCE\xAA\xBF\xD5\xA3\xA1";  // 数量、体积、不能为空！
inline constexpr char kNotesUnbalanced[] =
    "\xD7\xA2\xCA\xCD\xD6\xD0\xB5\xC4\xB7\xFB\xBA\xC5\xB2\xBB"
    "\xC6\xA5\xC5\xE4\xA3\xA1";  // 注释中的符号不匹配！
inline constexpr char kFormulaWrong[] =
    "\xB9\xAB\xCA\xBD\xD3\xD0\xB4\xED\xCE\xF3\xA3\xAC\xC7\xEB"
    "\xBC\xEC\xB2\xE9\xB9\xAB\xCA\xBD\xA3\xA1";  // 公式有错误，请检查公式！

// The caption of a set line's button: each non-empty text with its label, then "；".
inline constexpr char kCaptionPart[] = "\xB2\xBF\xCE\xBB\xA3\xBA";    // 部位：
inline constexpr char kCaptionLength[] = "\xB3\xA4\xA3\xBD";          // 长＝
inline constexpr char kCaptionWidth[] = "\xBF\xED\xA3\xBD";           // 宽＝
inline constexpr char kCaptionHeight[] = "\xB8\xDF\xA3\xBD";          // 高＝
inline constexpr char kCaptionArea[] = "\xC3\xE6\xBB\xFD\xA3\xBD";    // 面积＝
inline constexpr char kCaptionVolume[] = "\xCC\xE5\xBB\xFD\xA3\xBD";  // 体积＝
inline constexpr char kCaptionSeparator[] = "\xA3\xBB";               // ；

// The material tree (dialog 1002).
inline constexpr char kMaterialTreeRoot[] =
    "\xB8\xD6\xBD\xE1\xB9\xB9\xCA\xFD\xBE\xDD";  // 钢结构数据

}  // namespace quarrant
