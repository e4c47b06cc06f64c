// The drawing window as the estimator meets it: opened from the project manager, a member
// selected and its repeats counted into the page, a length measured by a snapped path, the
// structure added as rows that mark their entities, the row menu, undo, the coverage of the
// drawing, saving and opening again; the menu's zoom commands, picked lengths in metres, the
// line-count items by project type, the toolbars and a missing plug-in. With
// QUARRANT_SCREENSHOT_DIR set, the windows are also saved there as PNG files.

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>
#include <set>

#include "AppWindowFixture.h"
#include "app/widgets/MainFrame.h"
#include "app/widgets/QuarrantApp.h"
#include "cad/CadInteraction.h"
#include "cad/ColorTable.h"
#include "cad/LoadDxf.h"
#include "cad/widgets/CadCtrl.h"
#include "controls/widgets/GridCtrl.h"
#include "plugin/FerroletApi.h"
#include "project/widgets/ManageFrame.h"
#include "project/widgets/ManageTreeView.h"
#include "quantity/RowColumns.h"
#include "quantity/widgets/DrawAddView.h"
#include "quantity/widgets/DrawDataView.h"
#include "quantity/widgets/DrawFrame.h"
#include "quantity/widgets/DrawSheet.h"
#include "quantity/widgets/DrawingView.h"
#include "quantity/widgets/PageSheet.h"

using namespace quarrant;
using namespace quarrant::apptest;

namespace {

const std::string kBuildPlugIn = JoinPath(QUARRANT_PROGRAM_FOLDER, kFerroletFileName);
const std::string kSampleDxf =
    JoinPath(JoinPath(QUARRANT_PROGRAM_FOLDER, G("示例工程")), G("钢屋架GWJ-1.dxf"));

// A drawing of one 2500-unit line, an arc from 350 to 10 degrees and a circle, both of radius
// 1000, and a frame line far away (so that a path can be clicked apart from them).
std::string PickDxf() {
    return "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n1\n0\nLAYER\n2\nBEAM\n70\n0\n62\n"
           "7\n6\nCONTINUOUS\n0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
           "0\nLINE\n8\nBEAM\n10\n0\n20\n0\n11\n2500\n21\n0\n"
           "0\nARC\n8\nBEAM\n10\n5000\n20\n0\n40\n1000\n50\n350\n51\n10\n"
           "0\nCIRCLE\n8\nBEAM\n10\n8000\n20\n0\n40\n1000\n"
           "0\nLINE\n8\nBEAM\n10\n0\n20\n8000\n11\n10000\n21\n8000\n"
           "0\nENDSEC\n0\nEOF\n";
}

// The identifiers of the top-level entities for which take(entity) holds, in drawing order.
template <class Take>
std::vector<std::int32_t> EntitiesWhere(const CCadDrawing& drawing, Take take) {
    std::vector<std::int32_t> ids;
    for (const CCadEntity& entity : drawing.entities) {
        if (take(entity)) {
            ids.push_back(entity.record->identifier);
        }
    }
    return ids;
}

std::set<std::int32_t> Selected(const CCadCtrl& control) {
    std::set<std::int32_t> ids;
    for (const CCadEntity& entity : control.Selection().Entities()) {
        ids.insert(entity.record->identifier);
    }
    return ids;
}

bool AllMarked(const CCadDrawing& drawing, const std::vector<std::int32_t>& ids) {
    return std::all_of(ids.begin(), ids.end(), [&](std::int32_t id) {
        const CCadEntity* entity = drawing.FindById(id);
        return entity != nullptr && entity->record->marked != 0;
    });
}

// Grid rows as "number|name|count|length|unit|quantity" (UTF-8).
std::vector<std::string> GridLines(const CGridCtrl& grid) {
    std::vector<std::string> lines;
    for (int row = 1; row < grid.GetRowCount(); ++row) {
        std::string line;
        for (int col : {kColNumber, kColItemName, kColCount, kColLength, kColUnit, kColQuantity}) {
            line += (col == kColNumber ? "" : "|") + GbkToUtf8(grid.GetItemText(row, col));
        }
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

class DrawingWindowTest : public QObject {
    Q_OBJECT

private:
    struct Fixture : AppRun {
        // A project of the type with one drawing imported from the DXF file (unit mm, scale
        // 1:1); withPlugIn lays the build's Ferrolet.so into the program folder.
        Fixture(const std::string& gbkDxf, std::string_view utf8Type, bool withPlugIn) {
            if (withPlugIn) {
                WriteBytes(program.Path("Ferrolet.so"), ReadBytes(kBuildPlugIn));
            }
            MessageList made;
            ProjectManager maker(made);
            maker.SetProgramFolder(scratch.Path());
            maker.SetColorTable(LoadColorTable(program.Path()).ValueOr(nullptr));
            static_cast<void>(MakeProjectFolder(work.Path(), G("钢屋架示例工程")));
            Project* project = maker.CreateProject(work.Path(), G("钢屋架示例工程"), G(utf8Type));
            auto imported = std::make_unique<CCadFile>();
            if (project == nullptr || !LoadDxf(*imported, gbkDxf, maker.ColorTable(), 1.0) ||
                maker.AddDrawing(*project, G("钢屋架施工图"), "mm", "1:1", std::move(imported)) ==
                    nullptr ||
                !maker.SaveProject(*project)) {
                qWarning("the project could not be made");
                return;
            }
            StartWith(project->folderPath);
        }

        Drawing& TheDrawing() { return *TheProject().drawings.at(0); }

        QMdiSubWindow* ManagerWindow() {
            for (QMdiSubWindow* frame : Main().MdiArea()->subWindowList()) {
                if (qobject_cast<CManageFrame*>(frame->widget()) != nullptr) {
                    return frame;
                }
            }
            return nullptr;
        }
        // Double-clicks the drawing in the project manager.
        CDrawFrame* OpenFromManager() {
            QMdiSubWindow* manager = ManagerWindow();
            if (manager == nullptr) {
                return nullptr;
            }
            CManageTreeView* tree = qobject_cast<CManageFrame*>(manager->widget())->TreeView();
            tree->ItemOf(TheProject().projectItem)->setExpanded(true);
            QTreeWidgetItem* item = tree->ItemOf(TheDrawing().treeItem);
            QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {},
                               tree->ItemTextRect(item).center());
            QCoreApplication::processEvents();
            return Frame();
        }
        CDrawFrame* Frame() {
            QMdiSubWindow* frame = app->Templates().Find("DRAWING")->FindFrame(&TheDrawing());
            return frame != nullptr ? qobject_cast<CDrawFrame*>(frame->widget()) : nullptr;
        }
    };

    // Where a drawing point is on the control's viewport.
    static QPoint ScreenOf(CCadCtrl* control, double x, double y) {
        const CadPoint p = control->Interaction().View().DrawingToScreen(x, y);
        return QPoint(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y)));
    }
    static void Click(CCadCtrl* control, QPoint p) {
        QWidget* viewport = control->viewport();
        SendMouse(viewport, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
        SendMouse(viewport, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
        SendMouse(viewport, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    }
    static void Drag(CCadCtrl* control, QPoint from, QPoint to) {
        QWidget* viewport = control->viewport();
        SendMouse(viewport, QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
        SendMouse(viewport, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        SendMouse(viewport, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        SendMouse(viewport, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    static QPoint CellCentre(CGridCtrl* grid, int row, int col) {
        QRect rect;
        grid->GetCellRect(row, col, rect);
        return rect.center();
    }
    // The page's component line (1 to 19) opened in its dialog.
    static QWidget* OpenLine(QWidget* page, int line) {
        Control<QAbstractButton>(page, qPrintable(QStringLiteral("Button%1").arg(1027 + line)))
            ->click();
        return Control<QWidget>(page, "SubDlg1003");
    }
    static QString Field(QWidget* dialog, const char* name) {
        return Control<QComboBox>(dialog, name)->currentText();
    }

private slots:
    void takeOffOnTheSampleTrussFromSelectionToSavedRowsAndMarks() {
        if (!Exists(kSampleDxf)) {
            QSKIP("the program folder of the build has no sample drawing");
        }
        Fixture f(kSampleDxf, "结构工程", true);
        CDrawFrame* frame = f.OpenFromManager();
        QVERIFY(frame != nullptr);
        QCOMPARE(frame->parentWidget()->windowTitle(), Q(f.TheDrawing().fileName));
        QCOMPARE(f.Main().VisibleToolBar(), kToolBarDrawing);
        QCOMPARE(f.Main().menuBar()->actions().at(1)->text(), Q("图形视图"));
        QCOMPARE(frame->OuterSplitter()->sizes().at(1), CDrawFrame::kPagePaneWidth);
        QCOMPARE(frame->InnerSplitter()->sizes().at(1), CDrawFrame::kRowPaneHeight);
        CCadCtrl* control = frame->Control();
        QVERIFY(control != nullptr);
        QCOMPARE(control->File(), &f.TheDrawing().CadFile());
        const CCadDrawing& drawing = *control->File()->drawing;
        QWidget* page = frame->AddView()->Page();
        QVERIFY(page != nullptr);
        CGridCtrl* grid = frame->DataView()->Grid();
        QCOMPARE(grid->GetRowCount(), 1);
        QCOMPARE(Q(GbkToUtf8(frame->CoverageStatus())), Q("已算量 0 / 60 图元（0.0%）"));
        QCOMPARE(f.Main().StatusPanes()[0]->text(), Q("已算量 0 / 60 图元（0.0%）"));

        // The bottom chord: eight horizontal panels of 2250 mm on the member layer.
        const std::vector<std::int32_t> chord = EntitiesWhere(drawing, [](const CCadEntity& e) {
            if (e.type != kCadLine) {
                return false;
            }
            const auto* line = e.As<CCadLine>();
            return line->layer == G("杆件") && line->startY == line->endY &&
                   std::abs(std::abs(line->endX - line->startX) - 2250.0) < 0.5;
        });
        QCOMPARE(chord.size(), std::size_t{8});
        const CCadLine& first = *drawing.FindById(chord[0])->As<CCadLine>();

        // One panel clicked, its repeats counted into the page and selected.
        Click(control, ScreenOf(control, (first.startX + first.endX) / 2, first.startY));
        QCOMPARE(Selected(*control), std::set<std::int32_t>{chord[0]});
        Control<QPushButton>(page, "Button1010")->click();  // 数
        QCOMPARE(Control<QLineEdit>(page, "Edit1047")->text(), QStringLiteral("8"));
        QCOMPARE(Selected(*control), std::set<std::int32_t>(chord.begin(), chord.end()));
        QCOMPARE(control->Selection().Entities().size(), chord.size());  // each once

        // Line 1: its length measured on a path snapped to the ends of the selected panel.
        QWidget* dialog = OpenLine(page, 1);
        Control<QComboBox>(dialog, "Combo1008")->setEditText(QStringLiteral("m"));
        Control<QRadioButton>(dialog, "Radio1014")->click();
        Control<QComboBox>(dialog, "Combo1003")->setEditText(QStringLiteral("2"));
        f.Action(kCmdDrawMeasurePath)->trigger();
        QCOMPARE(control->Mode(), int(kModeMeasurePath));
        Click(control, ScreenOf(control, first.startX, first.startY) + QPoint(2, -1));
        Click(control, ScreenOf(control, first.endX, first.endY) + QPoint(-1, 2));
        QCOMPARE(control->CurrentPath().points.size(), std::size_t{2});
        Control<QPushButton>(dialog, "Button1011")->click();  // the length from the drawing
        QCOMPARE(Field(dialog, "Combo1005"), QStringLiteral("2.25"));
        Control<QComboBox>(dialog, "Combo1000")->setEditText(Q("L50×5"));
        Control<QPushButton>(dialog, "Button1025")->click();
        // Line 2 typed in.
        dialog = OpenLine(page, 2);
        Control<QComboBox>(dialog, "Combo1008")->setEditText(QStringLiteral("m"));
        Control<QRadioButton>(dialog, "Radio1014")->click();
        Control<QComboBox>(dialog, "Combo1003")->setEditText(QStringLiteral("4"));
        Control<QComboBox>(dialog, "Combo1005")->setEditText(QStringLiteral("1.5"));
        Control<QComboBox>(dialog, "Combo1000")->setEditText(Q("L40×4"));
        Control<QPushButton>(dialog, "Button1025")->click();

        // The structure added: rows of this drawing, the entities marked, the selection and
        // the path cleared.
        Control<QComboBox>(page, "Combo1000")->setEditText(Q("钢屋架下弦"));
        Control<QPushButton>(page, "Button1009")->click();
        QCOMPARE(GridLines(*grid), (std::vector<std::string>{
                                       "1|钢屋架下弦|8||m|84.000",
                                       "||4|1.5|m|6.00",
                                       "||2|2.25|m|4.50",
                                   }));
        QVERIFY(AllMarked(drawing, chord));
        QCOMPARE(Q(GbkToUtf8(frame->CoverageStatus())), Q("已算量 8 / 60 图元（13.3%）"));
        QVERIFY(control->Selection().Entities().empty());
        QVERIFY(control->CurrentPath().points.empty());
        QVERIFY(f.Action(kCmdDrawUndo)->isEnabled());

        // The row menu of the structure selects its entities again.
        f.script.menuChoice = Q("标记关连的图元");
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, CellCentre(grid, 1, 1));
        QCOMPARE(f.script.menus.back(),
                 (std::vector<QString>{Q("标记关连的图元"), Q("刷新数据和图纸关联"), QString(),
                                       Q("显示所有数据"), Q("过滤"), QString(), Q("删除")}));
        QCOMPARE(Selected(*control), std::set<std::int32_t>(chord.begin(), chord.end()));
        QCOMPARE(control->Selection().Entities().size(), chord.size());
        // Line 2 was typed in: nothing to mark on its length.
        f.script.menuChoice = Q("标记与长关连的图元");
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, CellCentre(grid, 2, kColLength));
        QCOMPARE(f.messages.texts, std::vector<std::string>{"没有图元与长相关连！"});

        // In the middle of the next take-off: a selection with grips, a measured path, the rows
        // below and the page on the right.
        f.script.menuChoice = Q("标记关连的图元");
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, CellCentre(grid, 1, 1));
        f.Action(kCmdDrawMeasurePath)->trigger();
        Click(control, ScreenOf(control, first.startX, first.startY));
        Click(control, ScreenOf(control, first.startX, first.startY - 3000.0));
        Click(control, ScreenOf(control, first.startX + 9000.0, first.startY - 3000.0));
        SaveScreenshot(&f.Main(), "drawing-window-takeoff");

        // 显示未算量图元 dims what has been taken off; pressed again, the normal picture.
        control->ClearSelection();
        control->OnCommand(kCmdClearAll);
        f.Action(kCmdDrawCoverage)->trigger();
        QVERIFY(control->CoverageViewOn());
        SaveScreenshot(&f.Main(), "drawing-window-coverage");
        f.Action(kCmdDrawCoverage)->trigger();
        QVERIFY(!control->CoverageViewOn());

        // Undo takes the rows away and keeps the marks, and the coverage counts the rows as they
        // are now; 刷新数据和图纸关联 then takes the marks away too. Redo brings the rows back.
        f.Action(kCmdDrawUndo)->trigger();
        QCOMPARE(grid->GetRowCount(), 1);
        QVERIFY(AllMarked(drawing, chord));
        QCOMPARE(Q(GbkToUtf8(frame->CoverageStatus())), Q("已算量 0 / 60 图元（0.0%）"));
        f.script.menuChoice = Q("刷新数据和图纸关联");
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, CellCentre(grid, 0, 1));
        QVERIFY(std::none_of(chord.begin(), chord.end(), [&](std::int32_t id) {
            return drawing.FindById(id)->record->marked != 0;
        }));
        f.Action(kCmdDrawRedo)->trigger();
        QCOMPARE(GridLines(*grid).size(), std::size_t{3});
        QCOMPARE(Q(GbkToUtf8(frame->CoverageStatus())), Q("已算量 8 / 60 图元（13.3%）"));
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, CellCentre(grid, 0, 1));
        QVERIFY(AllMarked(drawing, chord));

        // Saved, the program started again: the drawing opens with its rows and marks.
        QVERIFY(f.app->Manager().SaveProject(f.TheProject()));
        f.Restart();
        frame = f.OpenFromManager();
        QVERIFY(frame != nullptr);
        QCOMPARE(GridLines(*frame->DataView()->Grid()).size(), std::size_t{3});
        QVERIFY(AllMarked(*frame->Control()->File()->drawing, chord));
    }

    void menuZoomsAndPicksGiveMetresByUnitAndScale() {
        TempFolder dxfFolder;
        WriteBytes(dxfFolder.Path("pick.dxf"), PickDxf());
        Fixture f(dxfFolder.Path("pick.dxf"), "结构工程", true);
        CDrawFrame* frame = f.OpenFromManager();
        QVERIFY(frame != nullptr);
        CCadCtrl* control = frame->Control();
        QVERIFY(control != nullptr);
        const CCadDrawing& drawing = *control->File()->drawing;

        // 框选放大 then a drag zooms in; 全屏显示图纸 brings the whole drawing back.
        const auto ofType = [&](int type) {
            return EntitiesWhere(drawing, [type](const CCadEntity& e) { return e.type == type; });
        };
        const std::int32_t line = ofType(kCadLine).at(0);
        const CCadLine& drawn = *drawing.FindById(line)->As<CCadLine>();
        const double fitted = control->Scale();
        f.Action(kCmdDrawWindowZoom)->trigger();
        Drag(control, ScreenOf(control, drawn.startX, drawn.startY - 500.0),
             ScreenOf(control, drawn.endX, drawn.startY + 500.0));
        QVERIFY2(control->Scale() > 2 * fitted, qPrintable(QString::number(control->Scale())));
        f.Action(kCmdDrawFit)->trigger();
        QCOMPARE(control->Scale(), fitted);

        const std::int32_t arc = ofType(kCadArc).at(0);
        const std::int32_t circle = ofType(kCadCircle).at(0);
        QWidget* dialog = OpenLine(frame->AddView()->Page(), 1);
        Control<QComboBox>(dialog, "Combo1008")->setEditText(QStringLiteral("m"));
        Control<QRadioButton>(dialog, "Radio1014")->click();
        QPushButton* pickLength = Control<QPushButton>(dialog, "Button1011");
        struct Case {
            std::int32_t entity;
            const char* scale;
            const char* shown;
        };
        for (const Case& c : {Case{line, "1:1", "2.50"}, Case{line, "1:2", "1.25"},
                              Case{arc, "1:1", "0.35"}, Case{circle, "1:1", "6.28"}}) {
            f.TheDrawing().scale = c.scale;
            control->ClearSelection();
            QVERIFY(control->SelectById(c.entity));
            pickLength->click();
            QCOMPARE(Field(dialog, "Combo1005"), QString::fromLatin1(c.shown));
        }
        f.TheDrawing().scale = "1:1";

        // A three-point path of 3000 and 4000 with the line selected: the path's lengths (the
        // page lists them in its own order), and the line goes with them.
        control->ClearSelection();
        control->SelectById(line);
        f.Action(kCmdDrawMeasurePath)->trigger();
        control->Interaction().View().SetScale(0.1);
        control->Interaction().View().SetOffsets(0, 0);
        for (QPoint corner : {QPoint(100, 100), QPoint(400, 100), QPoint(400, 500)}) {
            Click(control, corner);
        }
        pickLength->click();
        QCOMPARE(Field(dialog, "Combo1005"), QStringLiteral("4.00+3.00"));
        Control<QComboBox>(dialog, "Combo1003")->setEditText(QStringLiteral("1"));
        Control<QPushButton>(dialog, "Button1025")->click();
        Control<QComboBox>(frame->AddView()->Page(), "Combo1000")->setEditText(Q("檩条"));
        Control<QPushButton>(frame->AddView()->Page(), "Button1009")->click();
        const QuantityRowMap& rows = f.TheProject().dataTable.rows;
        QCOMPARE(rows.size(), std::size_t{1});
        const QuantityRow& top = *(*rows.begin()).value;
        QCOMPARE(top.drawingName, G("钢屋架施工图"));
        QCOMPARE((*top.children.begin()).value->list2, std::vector<std::int32_t>{line});

        // 校核比例: two clicked points 2500 units apart, said to be 5 m long at mm 1:1. The
        // scale that agrees (2:1) is offered and taken on 是; the project is to be saved; the
        // check's points are gone and the control selects again.
        control->ClearSelection();
        control->Interaction().View().SetScale(0.1);
        control->Interaction().View().SetOffsets(0, 0);
        f.TheProject().modified = 0;
        f.script.answers[QStringLiteral("ScaleCheckLengthDialog")] = [frame](QDialog& asking) {
            SaveScreenshot(frame->window(), "drawing-window-scale-check");
            static_cast<QInputDialog&>(asking).setTextValue(QStringLiteral(" 5 "));
            return static_cast<int>(QDialog::Accepted);
        };
        QString asked;
        f.script.answers[QStringLiteral("QuestionBox")] = [&asked](QDialog& box) {
            asked = static_cast<QMessageBox&>(box).text();
            box.show();  // a message box sizes itself when it is shown
            SaveScreenshot(&box, "drawing-window-scale-check-question");
            box.hide();
            return static_cast<int>(QMessageBox::Yes);
        };
        f.Action(kCmdDrawCheckScale)->trigger();
        Click(control, QPoint(100, 300));
        Click(control, QPoint(350, 300));
        QCoreApplication::processEvents();
        QCOMPARE(asked,
                 Q("按当前单位和比例，两点间长度为2.500米；实际长度为5.000米，实际与图上之比为"
                   "2.0000。\n单位和比例与实际不符，比例应为2:1，改用此比例吗？已有数据不会"
                   "自动改变。"));
        QCOMPARE(f.TheDrawing().scale, std::string("2:1"));
        QCOMPARE(f.TheProject().modified, 1);
        QCOMPARE(control->Mode(), 0);
        QVERIFY(control->Interaction().CurrentPath().points.empty());
    }

    // Screenshots of a take-off on a real drawing of the corpus (only when they are asked for).
    void takeOffOnACorpusDrawingForScreenshots() {
        const std::string dxf = JoinPath(QUARRANT_CORPUS_DIR, "cn-test1-r2013.dxf");
        if (qEnvironmentVariableIsEmpty("QUARRANT_SCREENSHOT_DIR") || !Exists(dxf)) {
            QSKIP("screenshots not asked for, or the corpus is absent");
        }
        Fixture f(dxf, "结构工程", true);
        CDrawFrame* frame = f.OpenFromManager();
        QVERIFY(frame != nullptr);
        CCadCtrl* control = frame->Control();
        const CCadDrawing& drawing = *control->File()->drawing;
        QWidget* page = frame->AddView()->Page();
        // The circles of one radius counted; one of them measured round.
        const std::vector<std::int32_t> circles =
            EntitiesWhere(drawing, [](const CCadEntity& e) { return e.type == kCadCircle; });
        QVERIFY(!circles.empty());
        control->SelectById(circles[0]);
        Control<QPushButton>(page, "Button1010")->click();
        QWidget* dialog = OpenLine(page, 1);
        Control<QComboBox>(dialog, "Combo1008")->setEditText(QStringLiteral("m"));
        Control<QRadioButton>(dialog, "Radio1014")->click();
        Control<QComboBox>(dialog, "Combo1003")->setEditText(QStringLiteral("1"));
        Control<QPushButton>(dialog, "Button1011")->click();
        Control<QPushButton>(dialog, "Button1025")->click();
        Control<QComboBox>(page, "Combo1000")->setEditText(Q("预埋件"));
        Control<QPushButton>(page, "Button1009")->click();
        // The next member: a line selected, a path measured along the drawing.
        const std::vector<std::int32_t> lines =
            EntitiesWhere(drawing, [](const CCadEntity& e) { return e.type == kCadLine; });
        control->SelectById(lines.at(lines.size() / 2));
        f.Action(kCmdDrawMeasurePath)->trigger();
        const QSize size = control->viewport()->size();
        Click(control, QPoint(size.width() / 4, size.height() / 3));
        Click(control, QPoint(size.width() / 2, size.height() / 3));
        Click(control, QPoint(size.width() / 2, size.height() * 2 / 3));
        SaveScreenshot(&f.Main(), "drawing-window-corpus-takeoff");
    }

    void windowFollowsTheProjectTypeAndTheToolbars() {
        TempFolder dxfFolder;
        WriteBytes(dxfFolder.Path("pick.dxf"), PickDxf());
        for (const char* type : {"电气设备安装工程", "结构工程"}) {
            Fixture f(dxfFolder.Path("pick.dxf"), type, false);
            CDrawFrame* frame = f.OpenFromManager();
            QVERIFY(frame != nullptr);
            // Without the plug-in the page pane stays empty and nothing is said; the drawing
            // and the rows work.
            QCOMPARE(frame->AddView()->Sheet()->count(), 0);
            QVERIFY(f.messages.texts.empty());
            CCadCtrl* control = frame->Control();
            QVERIFY(control != nullptr);
            QVERIFY(control->File() != nullptr);
            QCOMPARE(control->property("controlId").toInt(), CDrawingView::kControlId);
            control->SelectById(control->File()->drawing->entities.at(0).record->identifier);
            frame->AddView()->DrawSheet()->AnswerPick(0);  // counted, with no page to tell
            QVERIFY(!control->Selection().Entities().empty());

            // The measuring popup offers the line-count items in electrical projects only.
            f.Action(kCmdDrawMeasurePath)->trigger();
            std::vector<int> offered;
            CCadCtrl::PopupHandler previous =
                CCadCtrl::SetPopupHandler([&offered](QMenu& menu) -> QAction* {
                    for (QAction* action : menu.actions()) {
                        offered.push_back(action->data().toInt());
                    }
                    return nullptr;
                });
            SendMouse(control->viewport(), QEvent::MouseButtonPress, QPoint(50, 50),
                      Qt::RightButton, Qt::RightButton);
            SendMouse(control->viewport(), QEvent::MouseButtonRelease, QPoint(50, 50),
                      Qt::RightButton, Qt::NoButton);
            CCadCtrl::SetPopupHandler(previous);
            const bool electrical = std::string(type) == "电气设备安装工程";
            QCOMPARE(std::count(offered.begin(), offered.end(), kCmdThreeLines),
                     electrical ? 1 : 0);
            if (electrical) {
                SaveScreenshot(&f.Main(), "drawing-window-empty-sheet");
            }

            // Closing the manager, then the last drawing window, brings back the first toolbar.
            QCOMPARE(f.Main().VisibleToolBar(), kToolBarDrawing);
            f.ManagerWindow()->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(f.Main().VisibleToolBar(), kToolBarDrawing);
            frame->parentWidget()->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(f.Frame() == nullptr);
            QCOMPARE(f.Main().OpenWindows(), 0);
            QCOMPARE(f.Main().VisibleToolBar(), kToolBarNoChild);
            // And the status bar no longer tells the coverage of a drawing nobody sees.
            QCoreApplication::processEvents();
            QCOMPARE(f.Main().StatusPanes().at(0)->text(), QString());
        }
    }
};

QUARRANT_APP_TEST_MAIN(DrawingWindowTest)
#include "DrawingWindowTest.moc"
