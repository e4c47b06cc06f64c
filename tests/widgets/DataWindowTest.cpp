// The data window as the user meets it: opened from the project manager, structures entered on
// the page and turned into rows, a cell edited, undo and redo from the toolbar, the filter, the
// row menu, saving and starting again; and the page hosting with a missing plug-in and with
// broken ones. The take-off runs through the build's own data-entry page once it makes one,
// through the test page of tests/widgets/plugins until then; the hosting tests always use the
// test page. With QUARRANT_SCREENSHOT_DIR set, the windows are also saved there as PNG files.

#include <dlfcn.h>
#include <unistd.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTreeWidget>

#include <cstdio>

#include "../app/CliRunner.h"
#include "AppWindowFixture.h"
#include "app/widgets/MainFrame.h"
#include "app/widgets/QuarrantApp.h"
#include "base/CNumbers.h"
#include "controls/widgets/GridCtrl.h"
#include "plugin/FerroletApi.h"
#include "project/widgets/ManageFrame.h"
#include "project/widgets/ManageTreeView.h"
#include "quantity/QuantityEntry.h"
#include "quantity/RowColumns.h"
#include "quantity/widgets/DataAddView.h"
#include "quantity/widgets/DataFrame.h"
#include "quantity/widgets/DataView.h"
#include "quantity/widgets/DrawAddView.h"
#include "quantity/widgets/GuolvDlg.h"
#include "quantity/widgets/PageSheet.h"

using namespace quarrant;
using namespace quarrant::apptest;

namespace {

std::string PlugInFile(const char* missing) {
    return std::string(QUARRANT_TEST_PLUGIN_DIR) + "/TestPage_" + missing + ".so";
}

const std::string kBuildPlugIn = JoinPath(QUARRANT_PROGRAM_FOLDER, kFerroletFileName);

// Whether the build's Ferrolet.so makes the real data-entry page yet.
bool BuildMakesThePage() {
    void* handle = dlopen(kBuildPlugIn.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        return false;
    }
    auto init = reinterpret_cast<InitPageFunction>(dlsym(handle, kInitPageExport));
    auto clear = reinterpret_cast<ClearFunction>(dlsym(handle, kClearExport));
    TempFolder folder;
    Catalogue materials;
    Catalogue structures;
    QWidget* page = init(kPageModeData, &materials, &structures, folder.Path().c_str());
    const bool real = page != nullptr && page->objectName() == QStringLiteral("Page1000");
    clear(page);
    dlclose(handle);
    return real;
}

// Everything written to standard error while it lives.
class StandardErrorCapture {
public:
    StandardErrorCapture() {
        std::fflush(stderr);
        m_saved = dup(STDERR_FILENO);
        m_file = std::tmpfile();
        dup2(fileno(m_file), STDERR_FILENO);
    }
    ~StandardErrorCapture() {
        std::fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
        std::fclose(m_file);
    }
    std::string Text() {
        std::fflush(stderr);
        std::string text;
        std::rewind(m_file);
        char buffer[512];
        std::size_t read = 0;
        while ((read = std::fread(buffer, 1, sizeof buffer, m_file)) > 0) {
            text.append(buffer, read);
        }
        return text;
    }

private:
    int m_saved = -1;
    std::FILE* m_file = nullptr;
};

// The test page's own exports, reached through the copy the host loaded.
class TestPageLibrary {
public:
    explicit TestPageLibrary(const std::string& path)
        : m_handle(dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD)) {}
    ~TestPageLibrary() {
        if (m_handle != nullptr) {
            dlclose(m_handle);
        }
    }
    QuantityEntry* Entry(QWidget* page) const {
        auto entry =
            reinterpret_cast<QuantityEntry* (*)(QWidget*)>(dlsym(m_handle, "TestPageEntry"));
        return entry != nullptr ? entry(page) : nullptr;
    }
    std::string Log() const {
        auto log = reinterpret_cast<const char* (*)()>(dlsym(m_handle, "TestPageLog"));
        return log != nullptr ? log() : "";
    }

private:
    void* m_handle = nullptr;
};

// One component line as the component dialog takes it (measuring 长×宽×高).
struct Line {
    const char* unit;
    const char* count;
    const char* length;
    const char* width;
    const char* material;
    const char* part;
};

// Enters structures on a data window's page and presses its add button: through the controls
// of the real page, or by filling the test page's entry as the real one would.
class PageInput {
public:
    PageInput(QWidget* page, const TestPageLibrary* testPage) : m_page(page), m_test(testPage) {}

    void Add(std::string_view name, std::string_view count, const std::vector<Line>& lines,
             QWidget* screenshotOf = nullptr) {
        if (m_test == nullptr) {
            for (std::size_t i = 0; i < lines.size(); ++i) {
                SetLine(static_cast<int>(i) + 1, lines[i], i == 0 ? screenshotOf : nullptr);
            }
            Control<QComboBox>(m_page, "Combo1000")->setEditText(Q(name));
            Control<QLineEdit>(m_page, "Edit1047")->setText(Q(count));
            Control<QPushButton>(m_page, "Button1009")->click();
            return;
        }
        QuantityEntry& entry = *m_test->Entry(m_page);
        entry.texts[kEntryItemName] = G(name);
        entry.texts[kEntryCount] = count;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EntryTexts& texts = entry.components[i].texts;
            entry.components[i].used = 1;
            texts[kEntryUnit] = entry.texts[kEntryUnit] = lines[i].unit;
            texts[kEntryCount] = lines[i].count;
            texts[kEntryLength] = lines[i].length;
            texts[kEntryWidth] = lines[i].width;
            texts[kEntryMaterial] = lines[i].material;
            texts[kEntryPartOrAxis] = lines[i].part;
            // The component dialog's quantity: "%.2f" in m, "%.3f" in m^2.
            const double metres = AtofC(lines[i].count) * AtofC(lines[i].length);
            texts[kEntryQuantity] = texts[kEntryUnit] == "m"
                                        ? FormatFixed(metres, 2)
                                        : FormatFixed(metres * AtofC(lines[i].width), 3);
        }
        Control<QPushButton>(m_page, "AddButton")->click();
    }

private:
    void SetLine(int line, const Line& values, QWidget* screenshotOf) {
        Control<QCheckBox>(m_page, qPrintable(QStringLiteral("Button%1").arg(1027 + line)))
            ->click();
        QWidget* dialog = Control<QWidget>(m_page, "SubDlg1003");
        Control<QComboBox>(dialog, "Combo1008")->setEditText(Q(values.unit));
        Control<QRadioButton>(dialog, "Radio1014")->click();
        Control<QComboBox>(dialog, "Combo1003")->setEditText(Q(values.count));
        Control<QComboBox>(dialog, "Combo1005")->setEditText(Q(values.length));
        Control<QComboBox>(dialog, "Combo1006")->setEditText(Q(values.width));
        Control<QComboBox>(dialog, "Combo1000")->setEditText(Q(values.material));
        Control<QComboBox>(dialog, "Combo1002")->setEditText(Q(values.part));
        if (screenshotOf != nullptr) {
            SaveScreenshot(screenshotOf, "data-window-component-dialog");
        }
        Control<QPushButton>(dialog, "Button1025")->click();
    }

    QWidget* m_page;
    const TestPageLibrary* m_test;
};

// Grid rows as "number|name|part|count|length|width|unit|material|quantity" (UTF-8).
std::vector<std::string> GridLines(const CGridCtrl& grid) {
    std::vector<std::string> lines;
    for (int row = 1; row < grid.GetRowCount(); ++row) {
        std::string line;
        for (int col : {kColNumber, kColItemName, kColPartOrAxis, kColCount, kColLength, kColWidth,
                        kColUnit, kColMaterial, kColQuantity}) {
            line += (col == kColNumber ? "" : "|") + GbkToUtf8(grid.GetItemText(row, col));
        }
        lines.push_back(line);
    }
    return lines;
}

// A structure of one component line, straight into the table as a window of drawings makes it.
QuantityRowPtr AddRows(QuantityTable& table, std::string_view name, std::string_view drawing) {
    auto top = std::make_shared<QuantityRow>();
    top->identifier = table.NewRowIdentifier();
    top->itemName = G(name);
    top->drawingName = G(drawing);
    top->count = "1";
    auto child = std::make_shared<QuantityRow>();
    child->identifier = table.NewRowIdentifier();
    child->parent = top.get();
    child->quantity = "2";
    top->children.SetAt(child->identifier, child);
    table.rows.SetAt(top->identifier, top);
    return top;
}

}  // namespace

class DataWindowTest : public QObject {
    Q_OBJECT

private:
    struct Fixture : AppRun {
        // plugIn: the library laid out as Ferrolet.so, or nullptr for none.
        explicit Fixture(const std::string* plugIn) {
            if (plugIn != nullptr) {
                WriteBytes(program.Path("Ferrolet.so"), ReadBytes(*plugIn));
            }
            StartWith(SavedProject(work, "钢屋架工程", scratch, {"屋架施工图"}));
        }

        // Double-clicks the project's "无图纸数据添加窗口" in the project manager.
        CDataFrame* OpenFromManager() {
            CManageTreeView* tree = nullptr;
            for (QMdiSubWindow* frame : Main().MdiArea()->subWindowList()) {
                if (auto* manage = qobject_cast<CManageFrame*>(frame->widget())) {
                    tree = manage->TreeView();
                }
            }
            if (tree == nullptr) {
                return nullptr;
            }
            tree->ItemOf(TheProject().projectItem)->setExpanded(true);
            QTreeWidgetItem* item = tree->ItemOf(TheProject().dataTable.treeItem);
            QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {},
                               tree->ItemTextRect(item).center());
            return Frame();
        }
        CDataFrame* Frame() {
            QMdiSubWindow* frame =
                app->Templates().Find(kDataDocType)->FindFrame(&TheProject().dataTable);
            return frame != nullptr ? qobject_cast<CDataFrame*>(frame->widget()) : nullptr;
        }
    };

    static QPoint CellCentre(CGridCtrl* grid, int row, int col) {
        QRect rect;
        grid->GetCellRect(row, col, rect);
        return rect.center();
    }

    // Types text into a cell as the user does: F2, the text, Enter.
    static void EditCell(CGridCtrl* grid, int row, int col, const QString& text) {
        grid->OnEditCell(row, col, Qt::Key_F2);
        auto* edit = qobject_cast<QLineEdit*>(grid->GetEditWnd());
        QVERIFY(edit != nullptr);
        edit->setText(text);
        grid->EndEditing();
    }

    // Right-clicks a cell and chooses "过滤"; then chooses the item name in the filter's tree.
    static void FilterBy(Fixture& f, CRowView* view, const QString& name) {
        f.script.menuChoice = Q("过滤");
        QTest::mouseClick(view->Grid()->viewport(), Qt::RightButton, {},
                          CellCentre(view->Grid(), 1, 1));
        CGuolvDlg* filter = view->FilterDialog();
        QVERIFY(filter->isVisible());
        for (int i = 0; i < filter->CategoryItem()->childCount(); ++i) {
            if (filter->CategoryItem()->child(i)->text(0) == name) {
                filter->Tree()->setCurrentItem(filter->CategoryItem()->child(i));
            }
        }
    }

private slots:
    void takeOffFromThePageToSavedRows() {
        const bool realPage = BuildMakesThePage();
        const std::string plugIn = realPage ? kBuildPlugIn : PlugInFile("NONE");
        Fixture f(&plugIn);
        CDataFrame* frame = f.OpenFromManager();
        QVERIFY(frame != nullptr);
        QCOMPARE(frame->parentWidget()->windowTitle(), QStringLiteral("YZN0"));
        QCOMPARE(f.Main().OpenWindows(), 2);
        QCOMPARE(f.Main().VisibleToolBar(), kToolBarData);
        QCOMPARE(f.Main().menuBar()->actions().at(1)->text(), Q("数据"));
        QCOMPARE(frame->Splitter()->sizes().at(1), CDataFrame::kPagePaneWidth);
        // Undo and redo stay disabled until the first change in this window.
        QVERIFY(!f.Action(kCmdDataUndo)->isEnabled());
        QVERIFY(!f.Action(kCmdDataRedo)->isEnabled());

        // The page sits in the sheet, made for the data window (mode 1: nothing to pick).
        QWidget* page = frame->AddView()->Page();
        QVERIFY(page != nullptr);
        QCOMPARE(frame->AddView()->Sheet()->tabText(0), Q("数据添加页"));
        TestPageLibrary library(f.program.Path("Ferrolet.so"));
        if (realPage) {
            QVERIFY(!Control<QPushButton>(page, "Button1010")->isEnabled());
        } else {
            QVERIFY(library.Log().find("InitPage 1 " + f.program.Path()) != std::string::npos);
        }
        PageInput input(page, realPage ? nullptr : &library);

        // A structure of two component lines.
        input.Add(
            "钢屋架", "2",
            {{"m^2", "2", "6", "0.5", "Q235 -8", "A"}, {"m^2", "4", "1.5", "0.5", "Q235 -6", "B"}},
            &f.Main());
        CGridCtrl* grid = frame->View()->Grid();
        QCOMPARE(GridLines(*grid), (std::vector<std::string>{
                                       "1|钢屋架||2|||m^2||18.000",
                                       "||B|4|1.5|0.5|m^2|Q235 -6|3.000",
                                       "||A|2|6|0.5|m^2|Q235 -8|6.000",
                                   }));
        QCOMPARE(f.TheProject().modified, 1);
        QVERIFY(f.Action(kCmdDataUndo)->isEnabled());
        QVERIFY(!f.Action(kCmdDataRedo)->isEnabled());
        SaveScreenshot(&f.Main(), "data-window");

        // 长 of line A edited to 3: its quantity and the structure's follow; emptying it is
        // refused and the cell shows the stored text again.
        EditCell(grid, 3, kColLength, QStringLiteral("3"));
        QCOMPARE(GridLines(*grid)[2], std::string("||A|2|3|0.5|m^2|Q235 -8|3.000"));
        QCOMPARE(GridLines(*grid)[0], std::string("1|钢屋架||2|||m^2||12.000"));
        EditCell(grid, 3, kColLength, QString());
        QCOMPARE(GbkToUtf8(grid->GetItemText(3, kColLength)), std::string("3"));

        // Undo and redo from the toolbar.
        f.Action(kCmdDataUndo)->trigger();
        QCOMPARE(grid->GetRowCount(), 1);
        QVERIFY(!f.Action(kCmdDataUndo)->isEnabled());
        QVERIFY(f.Action(kCmdDataRedo)->isEnabled());
        f.Action(kCmdDataRedo)->trigger();
        QCOMPARE(GridLines(*grid)[0], std::string("1|钢屋架||2|||m^2||12.000"));
        QVERIFY(!f.Action(kCmdDataRedo)->isEnabled());

        // A second structure, then the filter by the first one's name.
        input.Add("钢柱", "1", {{"m", "1", "4", "", "H200", "C"}});
        QCOMPARE(GridLines(*grid).size(), std::size_t(5));
        QCOMPARE(GridLines(*grid)[0], std::string("1|钢柱||1|||m||4.000"));
        FilterBy(f, frame->View(), Q("钢屋架"));
        QCOMPARE(f.script.menus.back(), (std::vector<QString>{Q("显示所有数据"), Q("过滤"),
                                                              QString(), Q("删除这行数据")}));
        QCOMPARE(GridLines(*grid), (std::vector<std::string>{
                                       "1|钢屋架||2|||m^2||12.000",
                                       "||B|4|1.5|0.5|m^2|Q235 -6|3.000",
                                       "||A|2|3|0.5|m^2|Q235 -8|3.000",
                                   }));
        SaveScreenshot(&f.Main(), "data-window-filtered");
        frame->View()->FilterDialog()->close();

        // Closing the window gives the page to Clear, unloads the library and shows the
        // manager's toolbar again.
        frame->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(f.Frame() == nullptr);
        QVERIFY(realPage || library.Log().find("Clear") != std::string::npos);
        QCOMPARE(f.Main().OpenWindows(), 1);
        QCOMPARE(f.Main().VisibleToolBar(), kToolBarManager);

        // Saved, the program started again: the rows are there (rows sharing a bucket come
        // back from the file in reverse order), and quarrant-cli rows prints what the window
        // shows.
        QVERIFY(f.app->Manager().SaveProject(f.TheProject()));
        f.Restart();
        frame = f.OpenFromManager();
        QVERIFY(frame != nullptr);
        grid = frame->View()->Grid();
        QCOMPARE(GridLines(*grid), (std::vector<std::string>{
                                       "1|钢屋架||2|||m^2||12.000",
                                       "||A|2|3|0.5|m^2|Q235 -8|3.000",
                                       "||B|4|1.5|0.5|m^2|Q235 -6|3.000",
                                       "2|钢柱||1|||m||4.000",
                                       "||C|1|4||m|H200|4.00",
                                   }));
        quarrant::testing::CliRun run = quarrant::testing::RunCli(
            {"--home", GbkToUtf8(f.program.Path()), "rows", GbkToUtf8(f.folder)});
        QCOMPARE(run.exitStatus, 0);
        std::string shown;
        for (int row = 0; row < grid->GetRowCount(); ++row) {
            for (int col = 0; col < grid->GetColumnCount(); ++col) {
                shown += (col == 0 ? "" : "\t") + GbkToUtf8(grid->GetItemText(row, col));
            }
            shown += "\n";
        }
        QCOMPARE(QString::fromStdString(run.out), QString::fromStdString(shown));
    }

    void rowMenuDeletesTheRightClickedRowOnly() {
        Fixture f(nullptr);
        for (const char* name : {"钢屋架", "钢柱"}) {
            AddRows(f.TheProject().dataTable, name, "");
        }
        CDataFrame* frame = f.OpenFromManager();
        QVERIFY(frame != nullptr);
        CGridCtrl* grid = frame->View()->Grid();
        QCOMPARE(GridLines(*grid).size(), std::size_t(4));
        // Right-clicking the heading (the grid focuses row 1 then) deletes nothing.
        f.script.menuChoice = Q("删除这行数据");
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, CellCentre(grid, 0, 3));
        QCOMPARE(GridLines(*grid).size(), std::size_t(4));
        // Row 1 selected, row 3 right-clicked: row 3 goes.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 1, 2));
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, CellCentre(grid, 3, 2));
        QCOMPARE(GridLines(*grid), (std::vector<std::string>{"1|钢柱||1|||||2.000", "||||||||2"}));
        // The frame's 删除一行 takes the selected row; undo brings it back, selected.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 1, 2));
        f.Action(kCmdDataDeleteRow)->trigger();
        QCOMPARE(grid->GetRowCount(), 1);
        f.Action(kCmdDataUndo)->trigger();
        QCOMPARE(GridLines(*grid).size(), std::size_t(2));
        QCOMPARE(grid->GetSelectRow(), 1);
    }

    void refreshAndReopeningListRowsAddedElsewhere() {
        Fixture f(nullptr);
        QuantityTable& table = f.TheProject().dataTable;
        AddRows(table, "檩条", "屋架施工图");  // rows of drawings are listed here too
        CDataFrame* frame = f.OpenFromManager();
        QVERIFY(frame != nullptr);
        CGridCtrl* grid = frame->View()->Grid();
        QCOMPARE(GridLines(*grid).size(), std::size_t(2));
        QuantityRowPtr later = AddRows(table, "支撑", "屋架施工图");
        f.Action(kCmdDataRefresh)->trigger();
        QCOMPARE(GridLines(*grid).size(), std::size_t(4));
        QCOMPARE(f.script.Count(QStringLiteral("ProgressDlg")), 2);
        // Opening the node again brings this window back, listed anew.
        table.rows.RemoveKey(later->identifier);
        QCOMPARE(f.OpenFromManager(), frame);
        QCOMPARE(GridLines(*grid).size(), std::size_t(2));
    }

    void filterOffersEachItemNameOnceAndListsItsRows() {
        Fixture f(nullptr);
        for (const char* name : {"钢屋架", "", "钢屋架", "钢柱"}) {
            AddRows(f.TheProject().dataTable, name, "");
        }
        CDataFrame* frame = f.OpenFromManager();
        QVERIFY(frame != nullptr);
        CGridCtrl* grid = frame->View()->Grid();
        QCOMPARE(grid->GetRowCount(), 9);
        FilterBy(f, frame->View(), Q("钢屋架"));
        CGuolvDlg* filter = frame->View()->FilterDialog();
        QCOMPARE(filter->windowTitle(), Q("数据过滤对话框"));
        QCOMPARE(filter->CategoryItem()->text(0), Q("项目名称"));
        QCOMPARE(filter->CategoryItem()->childCount(), 2);  // one 钢屋架, no empty name
        QCOMPARE(GridLines(*grid),
                 (std::vector<std::string>{"1|钢屋架||1|||||2.000", "||||||||2",
                                           "2|钢屋架||1|||||2.000", "||||||||2"}));
        // The category and the root list every row again.
        for (bool root : {false, true}) {
            FilterBy(f, frame->View(), Q("钢柱"));  // the tree is made anew
            QCOMPARE(grid->GetRowCount(), 3);
            filter->Tree()->setCurrentItem(root ? filter->RootItem() : filter->CategoryItem());
            QCOMPARE(grid->GetRowCount(), 9);
        }
        SaveScreenshot(filter, "filter-dialog");
    }

    void drawingPaneMakesAPageForPickingThatCoversThePane() {
        const std::string plugIn = PlugInFile("NONE");
        Fixture f(&plugIn);
        CDataView rows(*f.app, f.TheProject().dataTable);
        CDrawAddView pane(*f.app, &rows);
        pane.InitialUpdate();
        QWidget* page = pane.Page();
        QVERIFY(page != nullptr);
        QCOMPARE(page->findChild<QLabel*>(QStringLiteral("ModeLabel"))->text(),
                 QStringLiteral("mode 0"));
        pane.resize(300, 500);
        pane.show();
        QCOMPARE(pane.Sheet()->geometry(), pane.rect());
        // Picked data reaches the page through SetCadData; a finished entry becomes rows.
        TestPageLibrary library(f.program.Path("Ferrolet.so"));
        pane.SetCadData("3&5;6;7;", 0);
        QVERIFY(library.Log().find("SetCadData 0 3&5;6;7;") != std::string::npos);
        PageInput(page, &library).Add("檩条", "4", {{"m", "1", "6", "", "C160", ""}});
        QCOMPARE(f.TheProject().dataTable.rows.size(), std::size_t(1));
    }

    void missingPlugInLeavesAnEmptySheetAndSaysNothing() {
        StandardErrorCapture errors;
        Fixture f(nullptr);
        CDataFrame* frame = f.OpenFromManager();
        QVERIFY(frame != nullptr);
        QCOMPARE(frame->AddView()->Sheet()->count(), 0);
        QVERIFY(frame->AddView()->PlugIns().empty());
        QVERIFY(f.messages.texts.empty());
        QVERIFY(errors.Text().find("Ferrolet") == std::string::npos);
    }

    void brokenPlugInsAreRefusedAndSayWhyOnStandardError() {
        struct Case {
            const char* library;
            const char* reason;
        };
        const Case cases[] = {
            {"INITPAGE", "缺少导出函数 InitPage，不能加载。"},
            {"SETCADDATA", "缺少导出函数 SetCadData，不能加载。"},
            {"TIQU", "缺少导出函数 Tiqu，不能加载。"},
            {"CLEAR", "缺少导出函数 Clear，不能加载。"},
            {nullptr, "不能加载："},  // not a library at all
        };
        for (const Case& c : cases) {
            StandardErrorCapture errors;
            std::string file = c.library != nullptr ? PlugInFile(c.library) : std::string();
            Fixture f(c.library != nullptr ? &file : nullptr);
            if (c.library == nullptr) {
                WriteBytes(f.program.Path("Ferrolet.so"), "not a library");
            }
            CDataFrame* frame = f.OpenFromManager();
            QVERIFY(frame != nullptr);
            QCOMPARE(frame->AddView()->Sheet()->count(), 0);
            QVERIFY(f.messages.texts.empty());
            const std::string text = errors.Text();
            QVERIFY2(text.find(c.reason) != std::string::npos, text.c_str());
            QVERIFY2(text.find("Ferrolet.so") != std::string::npos, text.c_str());
        }
    }

    void standardDialogsSpeakChinese() {
        Fixture f(nullptr);
        QMessageBox box(QMessageBox::Information, QString(), QStringLiteral("x"),
                        QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Ok)->text(), Q("确定"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), Q("取消"));
    }
};

QUARRANT_APP_TEST_MAIN(DataWindowTest)
#include "DataWindowTest.moc"
