#include "platform/CommandTables.h"

namespace quarrant {

namespace {

// Texts (GBK).
const char* const kTextOpenManager =
    "\xB4\xF2\xBF\xAA\xB9\xA4\xB3\xCC\xB9\xDC\xC0\xED\xC6\xF7";          // 打开工程管理器
const char* const kTextHelpTopics = "\xB0\xEF\xD6\xFA\xD6\xF7\xCC\xE2";  // 帮助主题
const char* const kTextOpenCover = "\xB4\xF2\xBF\xAA\xB7\xE2\xC3\xE6";   // 打开封面
const char* const kTextDelete = "\xC9\xBE\xB3\xFD";                      // 删除
const char* const kTextExit = "\xCD\xCB\xB3\xF6";                        // 退出
const char* const kTextZoomIn = "\xB7\xC5\xB4\xF3";                      // 放大
const char* const kTextZoomOut = "\xCB\xF5\xD0\xA1";                     // 缩小
const char* const kTextDeleteRow =
    "\xC9\xBE\xB3\xFD\xD2\xBB\xD0\xD0\xCA\xFD\xBE\xDD";            // 删除一行数据
const char* const kTextUndo = "\xB3\xB7\xCF\xFA";                  // 撤销
const char* const kTextRedo = "\xD6\xD8\xB8\xB4";                  // 重复
const char* const kTextRefresh = "\xCB\xA2\xD0\xC2";               // 刷新
const char* const kTextPrint = "\xB4\xF2\xD3\xA1";                 // 打印
const char* const kTextPreviousPage = "\xC9\xCF\xD2\xBB\xD2\xB3";  // 上一页
const char* const kTextNextPage = "\xCF\xC2\xD2\xBB\xD2\xB3";      // 下一页
const char* const kTextClosePreview =
    "\xCD\xCB\xB3\xF6\xB4\xF2\xD3\xA1\xD4\xA4\xC0\xC0";  // 退出打印预览
const char* const kTextExportExcel = "\xB5\xBC\xB3\xF6\x45\x78\x63\x65\x6C\xA1\xAD";  // 导出Excel…
const char* const kTextShowUncounted =
    "\xCF\xD4\xCA\xBE\xCE\xB4\xCB\xE3\xC1\xBF\xCD\xBC\xD4\xAA";             // 显示未算量图元
const char* const kTextExportPdf = "\xB5\xBC\xB3\xF6\x50\x44\x46\xA1\xAD";  // 导出PDF…

const std::vector<ToolBarSpec>& ToolBars() {
    static const std::vector<ToolBarSpec> toolBars = {
        {kToolBarNoChild,
         {{kCmdOpenProjectManager, kTextOpenManager}, {kCmdHelpTopics, kTextHelpTopics}}},
        {kToolBarManager,
         {{kCmdSaveSelectedProject,
           "\xB1\xA3\xB4\xE6\xD1\xA1\xD6\xD0\xB5\xC4\xB9\xA4\xB3\xCC"},  // 保存选中的工程
          {kCmdSaveAllProjects,
           "\xB1\xA3\xB4\xE6\xCB\xF9\xD3\xD0\xB9\xA4\xB3\xCC"},  // 保存所有工程
          {0, {}},
          {kCmdOpenCover, kTextOpenCover},
          {kCmdDeleteNode, "\xC9\xBE\xB3\xFD\xCA\xF7\xCF\xEE"},      // 删除树项
          {kCmdAddProjectItem, "\xCC\xED\xBC\xD3\xCA\xF7\xCF\xEE"},  // 添加树项
          {0, {}},
          {kCmdHelpTopics, kTextHelpTopics}}},
        {kToolBarData,
         {{kCmdOpenProjectManager, kTextOpenManager},
          {32919, "\xB1\xA3\xB4\xE6"},  // 保存
          {32923, kTextUndo},
          {32924, kTextRedo},
          {0, {}},
          {32965, kTextRefresh},
          {32921, kTextDeleteRow},
          {0, {}},
          {kCmdHelpTopics, kTextHelpTopics}}},
        {kToolBarDrawing,
         {{kCmdOpenProjectManager, kTextOpenManager},
          {32917, kTextUndo},
          {32918, kTextRedo},
          {32905, "\xB1\xA3\xB4\xE6\xCA\xFD\xBE\xDD"},  // 保存数据
          {32925, kTextRefresh},
          {0, {}},
          {32906, "\xCA\xF3\xB1\xEA\xD1\xA1\xD4\xF1"},                  // 鼠标选择
          {32910, "\xC8\xA1\xCF\xFB\xD1\xA1\xD4\xF1"},                  // 取消选择
          {33002, "\xC9\xE8\xD6\xC3\xB2\xE2\xC1\xBF\xC2\xB7\xBE\xB6"},  // 设置测量路径
          {32930, "\xD2\xC6\xB6\xAF\xCD\xBC\xD6\xBD"},                  // 移动图纸
          {32943, "\xC8\xAB\xC6\xC1\xCF\xD4\xCA\xBE\xCD\xBC\xD6\xBD"},  // 全屏显示图纸
          {32927, "\xCA\xB5\xCA\xB1\xCB\xF5\xB7\xC5"},                  // 实时缩放
          {32908, kTextZoomIn},
          {32909, kTextZoomOut},
          {32907, "\xB4\xB0\xBF\xDA\xCB\xF5\xB7\xC5"},  // 窗口缩放
          {kCmdDrawCoverage, kTextShowUncounted},
          {0, {}},
          {32915, kTextDeleteRow},
          {0, {}},
          {kCmdHelpTopics, kTextHelpTopics}}},
        {kToolBarReport,
         {{kCmdPrint, kTextPrint},
          {0, {}},
          {kCmdPreviousPage, kTextPreviousPage},
          {kCmdNextPage, kTextNextPage},
          {kCmdZoomInPage, kTextZoomIn},
          {kCmdZoomOutPage, kTextZoomOut},
          {0, {}},
          {kCmdClosePreview, kTextClosePreview},
          {0, {}},
          {kCmdExportExcel, kTextExportExcel},
          {kCmdExportPdf, kTextExportPdf}}},
    };
    return toolBars;
}

const MenuSpec& HelpMenu() {
    static const MenuSpec menu = {
        "\xB0\xEF\xD6\xFA",  // 帮助
        {{kCmdHelpTopics, kTextHelpTopics},
         {0, {}},
         {kCmdAppAbout, "\xB9\xD8\xD3\xDA Quarrant..."}}};  // 关于 Quarrant...
    return menu;
}

const MenuSpec& WindowMenu() {
    static const MenuSpec menu = {
        "\xB4\xB0\xBF\xDA",                                          // 窗口
        {{kCmdWindowCascade, "\xB2\xE3\xB5\xFE\xB4\xB0\xBF\xDA"},    // 层叠窗口
         {kCmdWindowTile, "\xC6\xBD\xC6\xCC\xB4\xB0\xBF\xDA"},       // 平铺窗口
         {kCmdWindowArrange, "\xC5\xC5\xC1\xD0\xCD\xBC\xB1\xEA"}}};  // 排列图标
    return menu;
}

}  // namespace

const std::vector<ToolBarSpec>& MainFrameToolBars() {
    return ToolBars();
}

const ToolBarSpec* FindToolBar(int resource) {
    for (const ToolBarSpec& toolBar : ToolBars()) {
        if (toolBar.resource == resource) {
            return &toolBar;
        }
    }
    return nullptr;
}

const std::vector<MenuSpec>& MainFrameMenu() {
    static const std::vector<MenuSpec> menu = {
        {"\xCE\xC4\xBC\xFE",  // 文件
         {{kCmdOpenProjectManager, kTextOpenManager},
          {kCmdPrecisionSettings, "\xBE\xAB\xB6\xC8\xC9\xE8\xD6\xC3"},  // 精度设置
          {0, {}},
          {kCmdAppExit, kTextExit}}},
        HelpMenu(),
    };
    return menu;
}

const std::vector<MenuSpec>& DataFrameMenu() {
    static const std::vector<MenuSpec> menu = {
        {"\xCE\xC4\xBC\xFE",                                                     // 文件
         {{kCmdOpenProjectManager, "\xB4\xF2\xBF\xAA\xB9\xDC\xC0\xED\xC6\xF7"},  // 打开管理器
          {kCmdDataSave, "\xB1\xA3\xB4\xE6"},                                    // 保存
          {0, {}},
          {kCmdDataExit, "\xCD\xCB\xB3\xF6"}}},                     // 退出
        {"\xCA\xFD\xBE\xDD",                                        // 数据
         {{kCmdDataAddRow, "\xCC\xED\xBC\xD3\xD2\xBB\xD0\xD0"},     // 添加一行
          {kCmdDataModify, "\xD0\xDE\xB8\xC4"},                     // 修改
          {kCmdDataDeleteRow, "\xC9\xBE\xB3\xFD\xD2\xBB\xD0\xD0"},  // 删除一行
          {0, {}},
          {kCmdDataUndo, "\xB3\xB7\xCF\xFA"},  // 撤销
          {kCmdDataRedo, "\xD6\xD8\xB8\xB4"},  // 重复
          {0, {}},
          {kCmdDataRefresh, "\xCB\xA2\xD0\xC2"}}},  // 刷新
        WindowMenu(),
        HelpMenu(),
    };
    return menu;
}

const std::vector<MenuSpec>& DrawingFrameMenu() {
    static const std::vector<MenuSpec> menu = {
        {"\xCE\xC4\xBC\xFE",                                                     // 文件
         {{kCmdOpenProjectManager, "\xB4\xF2\xBF\xAA\xB9\xDC\xC0\xED\xC6\xF7"},  // 打开管理器
          {kCmdDrawSave, "\xB1\xA3\xB4\xE6"},                                    // 保存
          {0, {}},
          {kCmdDrawExit, kTextExit}}},
        {"\xCD\xBC\xD0\xCE\xCA\xD3\xCD\xBC",                             // 图形视图
         {{kCmdDrawSelect, "\xCA\xF3\xB1\xEA\xD1\xA1\xD4\xF1"},          // 鼠标选择
          {kCmdDrawClearSelection, "\xC8\xA1\xCF\xFB\xD1\xA1\xD4\xF1"},  // 取消选择
          {kCmdDrawMove, "\xD2\xC6\xB6\xAF\xCD\xBC\xD6\xBD"},            // 移动图纸
          {0, {}},
          {kCmdDrawWindowZoom, "\xBF\xF2\xD1\xA1\xB7\xC5\xB4\xF3"},    // 框选放大
          {kCmdDrawRealTimeZoom, "\xCA\xB5\xCA\xB1\xCB\xF5\xB7\xC5"},  // 实时缩放
          {kCmdDrawZoomIn, kTextZoomIn},
          {kCmdDrawZoomOut, kTextZoomOut},
          {0, {}},
          {kCmdDrawViewProperties,
           "\xCD\xBC\xD0\xCE\xCA\xD3\xCD\xBC\xCA\xF4\xD0\xD4"},               // 图形视图属性
          {kCmdDrawProperties, "\xCD\xBC\xD0\xCE\xCA\xF4\xD0\xD4"},           // 图形属性
          {kCmdDrawFit, "\xC8\xAB\xC6\xC1\xCF\xD4\xCA\xBE\xCD\xBC\xD6\xBD"},  // 全屏显示图纸
          {0, {}},
          {kCmdDrawMeasurePath,
           "\xC9\xE8\xD6\xC3\xB2\xE2\xC1\xBF\xC2\xB7\xBE\xB6"},  // 设置测量路径
          {kCmdDrawMeasureArea,
           "\xB2\xE2\xC1\xBF\xC7\xF8\xD3\xF2\xC3\xE6\xBB\xFD"},  // 测量区域面积
          {0, {}},
          {kCmdDrawCoverage, kTextShowUncounted},
          {kCmdDrawCheckScale, "\xD0\xA3\xBA\xCB\xB1\xC8\xC0\xFD"}}},  // 校核比例
        {"\xCA\xFD\xBE\xDD\xCA\xD3\xCD\xBC",                           // 数据视图
         {{kCmdDrawAddRow, "\xCC\xED\xBC\xD3\xD2\xBB\xD0\xD0"},        // 添加一行
          {kCmdDrawDeleteRow, "\xC9\xBE\xB3\xFD\xD2\xBB\xD0\xD0"},     // 删除一行
          {kCmdDrawModify, "\xD0\xDE\xB8\xC4"}}},                      // 修改
        {"\xB2\xD9\xD7\xF7",                                           // 操作
         {{kCmdDrawUndo, kTextUndo},
          {kCmdDrawRedo, kTextRedo},
          {0, {}},
          {kCmdDrawRefresh, kTextRefresh}}},
        WindowMenu(),
        HelpMenu(),
    };
    return menu;
}

const std::vector<MenuSpec>& ManagerFrameMenu() {
    static const std::vector<MenuSpec> menu = {
        {"\xB9\xA4\xB3\xCC",                                                         // 工程
         {{kCmdNewProject, "\xD0\xC2\xBD\xA8\xB9\xA4\xB3\xCC"},                      // 新建工程
          {kCmdOpenProject, "\xB4\xF2\xBF\xAA\xB9\xA4\xB3\xCC"},                     // 打开工程
          {kCmdAddProjectItem, "\xCC\xED\xBC\xD3\xB9\xA4\xB3\xCC\xD7\xD3\xCF\xEE"},  // 添加工程子项
          {kCmdDeleteNode, kTextDelete},
          {0, {}},
          {kCmdSaveSelectedProject,
           "\xB1\xA3\xB4\xE6\xD1\xA1\xD6\xD0\xB5\xC4\xB9\xA4\xB3\xCC"},  // 保存选中的工程
          {kCmdSaveAllProjects,
           "\xB1\xA3\xB4\xE6\xCB\xF9\xD3\xD0\xB9\xA4\xB3\xCC"},  // 保存所有工程
          {0, {}},
          {kCmdCloseManager,
           "\xB9\xD8\xB1\xD5\xB9\xA4\xB3\xCC\xB9\xDC\xC0\xED\xC6\xF7"},  // 关闭工程管理器
          {kCmdManagerExit, kTextExit}}},
        {"\xB6\xA8\xB6\xEE",                                                    // 定额
         {{kCmdImportNorms, "\xB5\xBC\xC8\xEB\xB6\xA8\xB6\xEE"},                // 导入定额
          {kCmdEditNorms, "\xB2\xE9\xBF\xB4\xD0\xDE\xB8\xC4\xB6\xA8\xB6\xEE"},  // 查看修改定额
          {0, {}},
          {kCmdManagerCover, kTextOpenCover}}},
        {"\xC9\xE8\xD6\xC3",                                              // 设置
         {{kCmdPrecisionSettings, "\xBE\xAB\xB6\xC8\xC9\xE8\xD6\xC3"}}},  // 精度设置
        WindowMenu(),
        HelpMenu(),
    };
    return menu;
}

const std::vector<MenuSpec>& ReportFrameMenu() {
    static const std::vector<MenuSpec> menu = {
        {"\xCE\xC4\xBC\xFE(&F)",                                   // 文件(&F)
         {{kCmdPrintPreview, "\xB4\xF2\xD3\xA1\xD4\xA4\xC0\xC0"},  // 打印预览
          {kCmdPrint, kTextPrint},
          {kCmdPrintSetup, "\xB4\xF2\xD3\xA1\xC9\xE8\xD6\xC3"},  // 打印设置
          {0, {}},
          {kCmdExportExcel, kTextExportExcel},
          {kCmdExportPdf, kTextExportPdf},
          {0, {}},
          {kCmdReportClose, "\xB9\xD8\xB1\xD5"},  // 关闭
          {kCmdClosePreview, kTextClosePreview}}},
        {"\xB2\xD9\xD7\xF7",  // 操作
         {{kCmdZoomInPage, kTextZoomIn},
          {kCmdZoomOutPage, kTextZoomOut},
          {kCmdPreviousPage, kTextPreviousPage},
          {kCmdNextPage, kTextNextPage}}},
        {"\xB0\xEF\xD6\xFA",                        // 帮助
         {{kCmdHelpTopics, "\xB0\xEF\xD6\xFA"},     // 帮助
          {kCmdReportAbout, "\xB9\xD8\xD3\xDA"}}},  // 关于
    };
    return menu;
}

std::string CommandText(int id) {
    if (id == 0) {
        return {};
    }
    for (const auto* menus : {&ManagerFrameMenu(), &MainFrameMenu(), &ReportFrameMenu(),
                              &DataFrameMenu(), &DrawingFrameMenu()}) {
        for (const MenuSpec& menu : *menus) {
            for (const CommandEntry& item : menu.items) {
                if (item.id == id) {
                    return item.text;
                }
            }
        }
    }
    for (const ToolBarSpec& toolBar : ToolBars()) {
        for (const CommandEntry& button : toolBar.buttons) {
            if (button.id == id) {
                return button.text;
            }
        }
    }
    return {};
}

}  // namespace quarrant
