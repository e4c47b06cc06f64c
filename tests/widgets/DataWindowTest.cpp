// The data window as the user meets it: opened from the project manager, a structure entered
// on the page and turned into rows, a cell edited, undo and redo from the toolbar, the filter,
// the row menu, saving and starting again; and the page hosting with a missing plug-in and with
// broken ones. The hosting is driven through the test plug-in of tests/widgets/plugins; the
// take-off is also run through the build's own Ferrolet page once it makes one. With
// QUARRANT_SCREENSHOT_DIR set, the windows are also saved there as PNG files.

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
#include "AppTestSupport.h"
#include "app/widgets/MainFrame.h"
#include "app/widgets/QuarrantApp.h"
#include "base/CNumbers.h"
#include "controls/widgets/GridCtrl.h"
#include "platform/CommandActions.h"
#include "platform/CommandTables.h"
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
    bool Loaded() const { return m_handle != nullptr; }
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

// A structure on the page: its name and count, and component lines (name, count, 长, 宽, 单位,
// 工程量) set as the component dialog sets them; the page's sum as its add button makes it.
void FillEntry(QuantityEntry& entry, std::string_view name, std::string_view count,
               const std::vector<std::vector<std::string_view>>& components) {
    entry.texts[kEntryItemName] = G(name);
    entry.texts[kEntryCount] = count;
    float sum = 0;
    for (std::size_t i = 0; i < components.size(); ++i) {
        EntryComponent& line = entry.components[i * 2];  // lines need not be the first ones
        line.used = 1;
        line.texts[kEntryItemName] = G(components[i][0]);
        line.texts[kEntryCount] = components[i][1];
        line.texts[kEntryLength] = components[i][2];
        line.texts[kEntryWidth] = components[i][3];
        line.texts[kEntryUnit] = components[i][4];
        line.texts[kEntryQuantity] = components[i][5];
        entry.texts[kEntryUnit] = components[i][4];
        sum = static_cast<float>(sum + AtofC(components[i][5]));
    }
    entry.texts[kEntryQuantity] = FormatFixed(sum, 3);
}

// Grid rows as "number|name|count|length|width|unit|quantity" (UTF-8).
std::vector<std::string> GridLines(const CGridCtrl& grid) {
    std::vector<std::string> lines;
    for (int row = 1; row < grid.GetRowCount(); ++row) {
        std::string line;
        for (int col :
             {kColNumber, kColItemName, kColCount, kColLength, kColWidth, kColUnit, kColQuantity}) {
            line += (col == kColNumber ? "" : "|") + GbkToUtf8(grid.GetItemText(row, col));
        }
        lines.push_back(line);
    }
    return lines;
}

void SaveScreenshot(QWidget* window, const char* name) {
    const QByteArray folder = qgetenv("QUARRANT_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        return;
    }
    QDir().mkpath(QString::fromLocal8Bit(folder));
    // A main window at the size of a usual desktop, whatever the test screen's.
    if (qobject_cast<QMainWindow*>(window) != nullptr) {
        window->showNormal();
        window->resize(1280, 800);
        QCoreApplication::processEvents();
    }
    window->grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QLatin1String(name) +
                        QStringLiteral(".png"));
}

// A child of the page by object name (the plug-in names its controls after their
// identifiers), or nullptr.
template <class T>
T* PageControl(QWidget* page, const char* name) {
    return page->findChild<T*>(QLatin1String(name));
}

// One component line typed into the real page's component dialog (mode 0: 长×宽×高) and set.
struct PageLine {
    const char* unit;
    const char* count;
    const char* length;
    const char* width;
    const char* material;
    const char* part;
};

void SetPageLine(QWidget* page, int line, const PageLine& values, QWidget* screenshotOf = nullptr) {
    PageControl<QCheckBox>(page, qPrintable(QStringLiteral("Button%1").arg(1027 + line)))->click();
    QWidget* dialog = PageControl<QWidget>(page, "SubDlg1003");
    PageControl<QComboBox>(dialog, "Combo1008")->setEditText(Q(values.unit));
    PageControl<QRadioButton>(dialog, "Radio1014")->click();
    PageControl<QComboBox>(dialog, "Combo1003")->setEditText(Q(values.count));
    PageControl<QComboBox>(dialog, "Combo1005")->setEditText(Q(values.length));
    PageControl<QComboBox>(dialog, "Combo1006")->setEditText(Q(values.width));
    PageControl<QComboBox>(dialog, "Combo1000")->setEditText(Q(values.material));
    PageControl<QComboBox>(dialog, "Combo1002")->setEditText(Q(values.part));
    if (screenshotOf != nullptr) {
        SaveScreenshot(screenshotOf, "data-window-component-dialog");
    }
    PageControl<QPushButton>(dialog, "Button1025")->click();
}

}  // namespace

class DataWindowTest : public QObject {
    Q_OBJECT

private:
    struct Fixture {
        ProgramFolder program;
        TempFolder work;
        TempFolder scratch;
        DialogScript script;
        MessageRecorder messages;
        std::string folder;
        std::unique_ptr<CQuarrantApp> app;

        // plugIn: the test library laid out as Ferrolet.so, or nullptr for none.
        explicit Fixture(const std::string* plugIn) {
            if (plugIn != nullptr) {
                WriteBytes(program.Path("Ferrolet.so"), ReadBytes(*plugIn));
            }
            folder = SavedProject(work, "钢屋架工程", scratch, {"屋架施工图"});
            WriteBytes(program.Path("PATH.ini"), folder + "\r\n");
            app = std::make_unique<CQuarrantApp>();
            app->InitInstance(program.Path(), true);
            if (!QTest::qWaitForWindowExposed(app->MainFrame())) {
                qWarning("main window not exposed");
            }
        }

        // The program ends (not saving again) and starts anew in the same program folder.
        void Restart() {
            app.reset();
            app = std::make_unique<CQuarrantApp>();
            app->InitInstance(program.Path(), true);
        }

        Project& TheProject() { return *app->Manager().projects[0]; }
        CMainFrame& Main() { return *app->MainFrame(); }

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
        QAction* Action(int id) { return Main().Actions().Find(id); }
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

private slots:
    void takeOffFromEntryToSavedRows() {
        const std::string plugIn = PlugInFile("NONE");
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
        QVERIFY(f.Action(kCmdDataRefresh)->isEnabled());

        // The page sits in the sheet, made for the data window (mode 1).
        CDataAddView* pane = frame->AddView();
        QWidget* page = pane->Page();
        QVERIFY(page != nullptr);
        QCOMPARE(pane->Sheet()->count(), 1);
        QCOMPARE(pane->Sheet()->tabText(0), Q("数据添加页"));
        QCOMPARE(page->findChild<QLabel*>(QStringLiteral("ModeLabel"))->text(),
                 QStringLiteral("mode 1"));
        TestPageLibrary library(f.program.Path("Ferrolet.so"));
        QVERIFY(library.Loaded());
        QVERIFY(library.Log().find("InitPage 1 " + f.program.Path()) != std::string::npos);

        // A structure of two component lines, added with the page's button.
        QuantityEntry* entry = library.Entry(page);
        QVERIFY(entry != nullptr);
        FillEntry(*entry, "钢屋架", "2",
                  {{"上弦杆", "2", "6", "0.5", "m^2", "6.000"},
                   {"腹杆", "4", "1.5", "0.5", "m^2", "3.000"}});
        QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("AddButton")),
                          Qt::LeftButton);
        CGridCtrl* grid = frame->View()->Grid();
        QCOMPARE(GridLines(*grid), (std::vector<std::string>{
                                       "1|钢屋架|2|||m^2|18.000",
                                       "|腹杆|4|1.5|0.5|m^2|3.000",
                                       "|上弦杆|2|6|0.5|m^2|6.000",
                                   }));
        QVERIFY(entry->texts[kEntryItemName].empty());  // the host reset the page's entry
        QCOMPARE(f.TheProject().modified, 1);
        QVERIFY(f.Action(kCmdDataUndo)->isEnabled());
        QVERIFY(!f.Action(kCmdDataRedo)->isEnabled());
        SaveScreenshot(&f.Main(), "data-window");

        // 长 of the upper chord edited to 3: its quantity and the structure's follow.
        EditCell(grid, 3, kColLength, QStringLiteral("3"));
        QCOMPARE(GridLines(*grid)[2], std::string("|上弦杆|2|3|0.5|m^2|3.000"));
        QCOMPARE(GridLines(*grid)[0], std::string("1|钢屋架|2|||m^2|12.000"));
        // Emptying it is refused: the cell shows the stored text again.
        EditCell(grid, 3, kColLength, QString());
        QCOMPARE(GbkToUtf8(grid->GetItemText(3, kColLength)), std::string("3"));

        // Undo and redo from the toolbar.
        f.Action(kCmdDataUndo)->trigger();
        QCOMPARE(grid->GetRowCount(), 1);
        QVERIFY(!f.Action(kCmdDataUndo)->isEnabled());
        QVERIFY(f.Action(kCmdDataRedo)->isEnabled());
        f.Action(kCmdDataRedo)->trigger();
        QCOMPARE(GridLines(*grid).size(), std::size_t(3));
        QCOMPARE(GridLines(*grid)[0], std::string("1|钢屋架|2|||m^2|12.000"));
        QVERIFY(f.Action(kCmdDataUndo)->isEnabled());
        QVERIFY(!f.Action(kCmdDataRedo)->isEnabled());

        // A second structure, then the filter by the first one's name.
        FillEntry(*entry, "钢柱", "1", {{"柱身", "1", "4", "0.3", "m^2", "1.200"}});
        QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("AddButton")),
                          Qt::LeftButton);
        QCOMPARE(GridLines(*grid).size(), std::size_t(5));
        QCOMPARE(GridLines(*grid)[0], std::string("1|钢柱|1|||m^2|1.200"));
        f.script.menuChoice = Q("过滤");
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, CellCentre(grid, 1, 2));
        QCOMPARE(f.script.menus.back(), (std::vector<QString>{Q("显示所有数据"), Q("过滤"),
                                                              QString(), Q("删除这行数据")}));
        CGuolvDlg* filter = frame->View()->FilterDialog();
        QVERIFY(filter->isVisible());
        QCOMPARE(filter->windowTitle(), Q("数据过滤对话框"));
        QTreeWidgetItem* category = filter->CategoryItem();
        QCOMPARE(category->text(0), Q("项目名称"));
        QCOMPARE(category->childCount(), 2);
        QTreeWidgetItem* truss =
            category->child(0)->text(0) == Q("钢屋架") ? category->child(0) : category->child(1);
        filter->Tree()->setCurrentItem(truss);
        QCOMPARE(GridLines(*grid), (std::vector<std::string>{
                                       "1|钢屋架|2|||m^2|12.000",
                                       "|腹杆|4|1.5|0.5|m^2|3.000",
                                       "|上弦杆|2|3|0.5|m^2|3.000",
                                   }));
        SaveScreenshot(&f.Main(), "data-window-filtered");
        filter->Tree()->setCurrentItem(filter->RootItem());
        QCOMPARE(GridLines(*grid).size(), std::size_t(5));
        filter->close();

        // Closing the window gives the page to Clear and unloads the library.
        frame->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(f.Frame() == nullptr);
        QVERIFY(library.Log().find("Clear") != std::string::npos);
        QCOMPARE(f.Main().OpenWindows(), 1);
        QCOMPARE(f.Main().VisibleToolBar(), kToolBarManager);

        // Saved, the program started again: the rows are all there, and quarrant-cli rows
        // prints what the window shows.
        QVERIFY(f.app->Manager().SaveProject(f.TheProject()));
        f.Restart();
        frame = f.OpenFromManager();
        QVERIFY(frame != nullptr);
        grid = frame->View()->Grid();
        QCOMPARE(GridLines(*grid), (std::vector<std::string>{
                                       "1|钢屋架|2|||m^2|12.000",
                                       "|上弦杆|2|3|0.5|m^2|3.000",
                                       "|腹杆|4|1.5|0.5|m^2|3.000",
                                       "2|钢柱|1|||m^2|1.200",
                                       "|柱身|1|4|0.3|m^2|1.200",
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

    void takeOffThroughThePluginPage() {
        // The build's own Ferrolet.so; until it makes a page the hosting is tested with the
        // test page alone.
        const std::string plugIn = JoinPath(QUARRANT_PROGRAM_FOLDER, kFerroletFileName);
        Fixture f(&plugIn);
        CDataFrame* frame = f.OpenFromManager();
        QVERIFY(frame != nullptr);
        QWidget* page = frame->AddView()->Page();
        if (page == nullptr || PageControl<QWidget>(page, "SubDlg1003") == nullptr) {
            QSKIP("the build's Ferrolet.so makes no data-entry page");
        }
        QVERIFY(!PageControl<QPushButton>(page, "Button1010")->isEnabled());  // nothing to pick

        // A structure of two component lines, typed in and added with the page's button.
        SetPageLine(page, 1, {"m^2", "2", "6", "0.5", "Q235 -8", "A"}, &f.Main());
        SetPageLine(page, 2, {"m^2", "4", "1.5", "0.5", "Q235 -6", "B"});
        PageControl<QComboBox>(page, "Combo1000")->setEditText(Q("钢屋架"));
        PageControl<QLineEdit>(page, "Edit1047")->setText(QStringLiteral("2"));
        PageControl<QPushButton>(page, "Button1009")->click();
        CGridCtrl* grid = frame->View()->Grid();
        auto lines = [&grid] {
            std::vector<std::string> result;
            for (int row = 1; row < grid->GetRowCount(); ++row) {
                std::string line;
                for (int col : {kColNumber, kColItemName, kColPartOrAxis, kColCount, kColLength,
                                kColWidth, kColUnit, kColMaterial, kColQuantity}) {
                    line += (col == kColNumber ? "" : "|") + GbkToUtf8(grid->GetItemText(row, col));
                }
                result.push_back(line);
            }
            return result;
        };
        QCOMPARE(lines(), (std::vector<std::string>{
                              "1|钢屋架||2|||m^2||18.000",
                              "||B|4|1.5|0.5|m^2|Q235 -6|3.000",
                              "||A|2|6|0.5|m^2|Q235 -8|6.000",
                          }));
        SaveScreenshot(&f.Main(), "data-window-real-page");

        // A cell edited, undone and redone, the filter by the structure's name.
        EditCell(grid, 3, kColLength, QStringLiteral("3"));
        QCOMPARE(lines()[0], std::string("1|钢屋架||2|||m^2||12.000"));
        f.Action(kCmdDataUndo)->trigger();
        QCOMPARE(grid->GetRowCount(), 1);
        f.Action(kCmdDataRedo)->trigger();
        QCOMPARE(lines()[2], std::string("||A|2|3|0.5|m^2|Q235 -8|3.000"));
        SetPageLine(page, 1, {"m", "1", "4", "", "H200", "C"});
        PageControl<QComboBox>(page, "Combo1000")->setEditText(Q("钢柱"));
        PageControl<QPushButton>(page, "Button1009")->click();
        QCOMPARE(lines().size(), std::size_t(5));
        f.script.menuChoice = Q("过滤");
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, CellCentre(grid, 1, 1));
        CGuolvDlg* filter = frame->View()->FilterDialog();
        for (int i = 0; i < filter->CategoryItem()->childCount(); ++i) {
            if (filter->CategoryItem()->child(i)->text(0) == Q("钢屋架")) {
                filter->Tree()->setCurrentItem(filter->CategoryItem()->child(i));
            }
        }
        QCOMPARE(lines().size(), std::size_t(3));
        QCOMPARE(lines()[0], std::string("1|钢屋架||2|||m^2||12.000"));

        // Saved and started again: the rows are there.
        QVERIFY(f.app->Manager().SaveProject(f.TheProject()));
        f.Restart();
        frame = f.OpenFromManager();
        QVERIFY(frame != nullptr);
        grid = frame->View()->Grid();
        QCOMPARE(lines().size(), std::size_t(5));
        // Rows sharing a bucket come back from the file in reverse order.
        QCOMPARE(lines()[0], std::string("1|钢屋架||2|||m^2||12.000"));
        QCOMPARE(lines()[3], std::string("2|钢柱||1|||m||4.000"));
    }

    void rowMenuDeletesTheRightClickedRowOnly() {
        const std::string plugIn = PlugInFile("NONE");
        Fixture f(&plugIn);
        CDataFrame* frame = f.OpenFromManager();
        QVERIFY(frame != nullptr);
        TestPageLibrary library(f.program.Path("Ferrolet.so"));
        QWidget* page = frame->AddView()->Page();
        for (const char* name : {"钢屋架", "钢柱"}) {
            FillEntry(*library.Entry(page), name, "1", {{"件", "1", "2", "1", "m^2", "2.000"}});
            QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("AddButton")),
                              Qt::LeftButton);
        }
        CGridCtrl* grid = frame->View()->Grid();
        QCOMPARE(GridLines(*grid).size(), std::size_t(4));
        // Right-clicking the heading (the grid focuses row 1 then) deletes nothing.
        f.script.menuChoice = Q("删除这行数据");
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, CellCentre(grid, 0, 3));
        QCOMPARE(GridLines(*grid).size(), std::size_t(4));
        // Row 1 selected, row 3 right-clicked: row 3 goes.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 1, 2));
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, CellCentre(grid, 3, 2));
        QCOMPARE(GridLines(*grid),
                 (std::vector<std::string>{"1|钢柱|1|||m^2|2.000", "|件|1|2|1|m^2|2.000"}));
        // The frame's 删除一行 takes the selected row; undo brings it back under its identifier.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 1, 2));
        f.Action(kCmdDataDeleteRow)->trigger();
        QCOMPARE(grid->GetRowCount(), 1);
        f.Action(kCmdDataUndo)->trigger();
        QCOMPARE(GridLines(*grid).size(), std::size_t(2));
        QCOMPARE(grid->GetSelectRow(), 1);
    }

    void refreshListsRowsAddedElsewhere() {
        const std::string plugIn = PlugInFile("NONE");
        Fixture f(&plugIn);
        Project& project = f.TheProject();
        auto drawn = std::make_shared<QuantityRow>();
        drawn->identifier = project.dataTable.NewRowIdentifier();
        drawn->itemName = G("檩条");
        drawn->drawingName = G("屋架施工图");
        drawn->count = "3";
        project.dataTable.rows.SetAt(drawn->identifier, drawn);
        CDataFrame* frame = f.OpenFromManager();
        QVERIFY(frame != nullptr);
        CGridCtrl* grid = frame->View()->Grid();
        // Rows of drawings are listed here too.
        QCOMPARE(GridLines(*grid), std::vector<std::string>{"1|檩条|3||||0.000"});
        auto later = std::make_shared<QuantityRow>(*drawn);
        later->identifier = project.dataTable.NewRowIdentifier();
        later->itemName = G("支撑");
        project.dataTable.rows.SetAt(later->identifier, later);
        f.Action(kCmdDataRefresh)->trigger();
        QCOMPARE(GridLines(*grid).size(), std::size_t(2));
        QCOMPARE(f.script.Count(QStringLiteral("ProgressDlg")), 2);
        // Opening the node again brings this window back, listed anew.
        project.dataTable.rows.RemoveKey(later->identifier);
        QCOMPARE(f.OpenFromManager(), frame);
        QCOMPARE(GridLines(*grid).size(), std::size_t(1));
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
        FillEntry(*library.Entry(page), "檩条", "4", {{"檩", "1", "6", "", "m", "6.00"}});
        QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("AddButton")),
                          Qt::LeftButton);
        QCOMPARE(f.TheProject().dataTable.rows.size(), std::size_t(1));
    }

    void filterOffersEachItemNameOnceAndListsItsRows() {
        Fixture f(nullptr);
        QuantityTable& table = f.TheProject().dataTable;
        for (const char* name : {"钢屋架", "", "钢屋架", "钢柱"}) {
            auto top = std::make_shared<QuantityRow>();
            top->identifier = table.NewRowIdentifier();
            top->itemName = G(name);
            top->count = "1";
            auto child = std::make_shared<QuantityRow>();
            child->identifier = table.NewRowIdentifier();
            child->parent = top.get();
            child->quantity = "2";
            top->children.SetAt(child->identifier, child);
            table.rows.SetAt(top->identifier, top);
        }
        CDataFrame* frame = f.OpenFromManager();
        QVERIFY(frame != nullptr);
        CGridCtrl* grid = frame->View()->Grid();
        QCOMPARE(grid->GetRowCount(), 9);
        f.script.menuChoice = Q("过滤");
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, CellCentre(grid, 2, 1));
        CGuolvDlg* filter = frame->View()->FilterDialog();
        QTreeWidgetItem* category = filter->CategoryItem();
        QCOMPARE(category->childCount(), 2);  // one 钢屋架, and no empty name
        QTreeWidgetItem* truss =
            category->child(0)->text(0) == Q("钢屋架") ? category->child(0) : category->child(1);
        filter->Tree()->setCurrentItem(truss);
        QCOMPARE(GridLines(*grid), (std::vector<std::string>{"1|钢屋架|1||||2.000", "||||||2",
                                                             "2|钢屋架|1||||2.000", "||||||2"}));
        QCOMPARE(GbkToUtf8(filter->Choice().kind), std::string("项目名称"));
        // The category and the root list every row again.
        for (QTreeWidgetItem* item : {category, filter->RootItem()}) {
            filter->Tree()->setCurrentItem(truss);
            filter->Tree()->setCurrentItem(item);
            QCOMPARE(grid->GetRowCount(), 9);
        }
        SaveScreenshot(filter, "filter-dialog");
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
        // The rest of the window works.
        QuantityEntry entry;
        FillEntry(entry, "钢梁", "1", {{"梁", "1", "6", "", "m", "6.00"}});
        frame->View()->AddEntry(&entry);
        QCOMPARE(GridLines(*frame->View()->Grid()).size(), std::size_t(2));
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
