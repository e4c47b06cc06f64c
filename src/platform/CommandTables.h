#pragma once

// The command identifiers of the program's menus and toolbars, and the tables the main frame
// and the project manager frame build them from. Texts are GBK; an identifier of 0 stands for a
// separator.

#include <string>
#include <vector>

namespace quarrant {

// Commands of the main frame and the framework.
inline constexpr int kCmdOpenProjectManager = 32778;  // 打开工程管理器
inline constexpr int kCmdHelpTopics = 33006;          // 帮助主题
inline constexpr int kCmdPrecisionSettings = 33008;   // 精度设置
inline constexpr int kCmdAppAbout = 57664;            // 关于 Quarrant
inline constexpr int kCmdAppExit = 57665;             // 退出 (the framework's own)
inline constexpr int kCmdWindowArrange = 57649;       // 排列图标
inline constexpr int kCmdWindowCascade = 57650;       // 层叠窗口
inline constexpr int kCmdWindowTile = 57651;          // 平铺窗口

// Commands of the data window (menu 131, toolbar 144) and of the row views' row menus.
inline constexpr int kCmdDataExit = 32822;         // 退出 (no handler)
inline constexpr int kCmdDataSave = 32919;         // 保存 (no action)
inline constexpr int kCmdDataAddRow = 32920;       // 添加一行 (no action)
inline constexpr int kCmdDataDeleteRow = 32921;    // 删除一行
inline constexpr int kCmdDataModify = 32922;       // 修改 (no action)
inline constexpr int kCmdDataUndo = 32923;         // 撤销
inline constexpr int kCmdDataRedo = 32924;         // 重复
inline constexpr int kCmdDataRefresh = 32965;      // 刷新
inline constexpr int kCmdRowMarkEntities = 33021;  // 标记关连的图元 (drawing window)
inline constexpr int kCmdRowFilter = 33023;        // 过滤
inline constexpr int kCmdRowShowAll = 33024;       // 显示所有数据
inline constexpr int kCmdRowRefreshMarks = 33025;  // 刷新数据和图纸关联 (drawing window)
inline constexpr int kCmdRowDelete = 33027;        // 删除 / 删除这行数据
inline constexpr int kMenuData = 131;

// Commands of the drawing window (menu 132, toolbar 146).
inline constexpr int kCmdDrawExit = 32832;            // 退出 (no handler)
inline constexpr int kCmdDrawSave = 32905;            // 保存 (no action)
inline constexpr int kCmdDrawSelect = 32906;          // 鼠标选择
inline constexpr int kCmdDrawWindowZoom = 32907;      // 框选放大
inline constexpr int kCmdDrawZoomIn = 32908;          // 放大
inline constexpr int kCmdDrawZoomOut = 32909;         // 缩小
inline constexpr int kCmdDrawClearSelection = 32910;  // 取消选择
inline constexpr int kCmdDrawViewProperties = 32911;  // 图形视图属性 (no action)
inline constexpr int kCmdDrawProperties = 32912;      // 图形属性 (no action)
inline constexpr int kCmdDrawAddRow = 32914;          // 添加一行 (no action)
inline constexpr int kCmdDrawDeleteRow = 32915;       // 删除一行
inline constexpr int kCmdDrawModify = 32916;          // 修改 (no action)
inline constexpr int kCmdDrawUndo = 32917;            // 撤销
inline constexpr int kCmdDrawRedo = 32918;            // 重复
inline constexpr int kCmdDrawRefresh = 32925;         // 刷新
inline constexpr int kCmdDrawRealTimeZoom = 32927;    // 实时缩放
inline constexpr int kCmdDrawMove = 32930;            // 移动图纸
inline constexpr int kCmdDrawFit = 32943;             // 全屏显示图纸
inline constexpr int kCmdDrawMeasurePath = 33002;     // 设置测量路径
inline constexpr int kCmdDrawMeasureArea = 33005;     // 测量区域面积
inline constexpr int kCmdDrawCoverage = 33050;        // 显示未算量图元 (on / off)
inline constexpr int kCmdDrawCheckScale = 33051;      // 校核比例
inline constexpr int kMenuDrawing = 132;

// Commands of the project manager frame (menu 130, toolbar 128).
inline constexpr int kCmdOpenCover = 32774;            // 打开封面 (toolbar 128; no handler)
inline constexpr int kCmdNewProject = 32886;           // 新建工程
inline constexpr int kCmdOpenProject = 32887;          // 打开工程
inline constexpr int kCmdAddProjectItem = 32888;       // 添加工程子项
inline constexpr int kCmdDeleteNode = 32889;           // 删除
inline constexpr int kCmdSaveSelectedProject = 32890;  // 保存选中的工程
inline constexpr int kCmdSaveAllProjects = 32891;      // 保存所有工程
inline constexpr int kCmdCloseManager = 32892;         // 关闭工程管理器
inline constexpr int kCmdManagerExit = 32893;          // 退出 (no handler)
inline constexpr int kCmdImportNorms = 32896;          // 导入定额 (no handler)
inline constexpr int kCmdEditNorms = 32897;            // 查看修改定额 (no handler)
inline constexpr int kCmdManagerCover = 32898;         // 打开封面 (no handler)

// Commands of the report window (menu 133, toolbar 161).
inline constexpr int kCmdReportAbout = 32971;   // 关于 (no handler)
inline constexpr int kCmdReportClose = 32980;   // 关闭 (no handler)
inline constexpr int kCmdPrint = 32984;         // 打印
inline constexpr int kCmdZoomOutPage = 32990;   // 缩小
inline constexpr int kCmdZoomInPage = 32991;    // 放大
inline constexpr int kCmdPreviousPage = 32992;  // 上一页
inline constexpr int kCmdNextPage = 32993;      // 下一页
inline constexpr int kCmdPrintPreview = 33010;  // 打印预览
inline constexpr int kCmdClosePreview = 33012;  // 退出打印预览
inline constexpr int kCmdExportExcel = 33040;   // 导出Excel…
inline constexpr int kCmdExportPdf = 33041;     // 导出PDF…
inline constexpr int kCmdPrintSetup = 57606;    // 打印设置 (the framework's print setup)

// Menus: the main frame's own while no child window is open, the project manager's and the
// report window's.
inline constexpr int kMenuMainFrame = 128;
inline constexpr int kMenuManager = 130;
inline constexpr int kMenuReport = 133;

// The five toolbars of the main frame; exactly one is visible at a time.
inline constexpr int kToolBarNoChild = 148;  // no child window open
inline constexpr int kToolBarManager = 128;  // project manager
inline constexpr int kToolBarData = 144;     // data window
inline constexpr int kToolBarDrawing = 146;  // drawing window
inline constexpr int kToolBarReport = 161;   // report window

// Button images are 23 x 20 pixels.
inline constexpr int kToolBarButtonWidth = 23;
inline constexpr int kToolBarButtonHeight = 20;

struct CommandEntry {
    int id = 0;        // 0: separator
    std::string text;  // GBK; the tooltip of a toolbar button
};

struct ToolBarSpec {
    int resource = 0;
    std::vector<CommandEntry> buttons;
};

struct MenuSpec {
    std::string title;  // GBK
    std::vector<CommandEntry> items;
};

// The five toolbars in the order the main frame adds them: 148, 128, 144, 146, 161.
const std::vector<ToolBarSpec>& MainFrameToolBars();
// The toolbar with this resource number, or nullptr.
const ToolBarSpec* FindToolBar(int resource);

// The menu of the main frame while no child window is open.
const std::vector<MenuSpec>& MainFrameMenu();
// Menu 131 of the data window.
const std::vector<MenuSpec>& DataFrameMenu();
// Menu 132 of the drawing window.
const std::vector<MenuSpec>& DrawingFrameMenu();
// Menu 130 of the project manager frame.
const std::vector<MenuSpec>& ManagerFrameMenu();
// Menu 133 of the report window.
const std::vector<MenuSpec>& ReportFrameMenu();

// The text of a command as the menus and toolbars show it (GBK); empty for an unknown one.
std::string CommandText(int id);

}  // namespace quarrant
