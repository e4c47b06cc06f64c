// The project manager window: the tree and list after start-up, the right button with its
// context menus, double clicks through the document templates, and the project commands.

#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTreeWidget>

#include "AppTestSupport.h"
#include "app/widgets/MainFrame.h"
#include "app/widgets/QuarrantApp.h"
#include "platform/CommandTables.h"
#include "project/widgets/AddDrawDlg.h"
#include "project/widgets/ManageDataView.h"
#include "project/widgets/ManageFrame.h"
#include "project/widgets/ManageTreeView.h"
#include "project/widgets/NewProjectDlg.h"
#include "project/widgets/OpenProjectDlg.h"
#include "quantity/QuantityRow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace quarrant;
using namespace quarrant::apptest;

class ManageTreeTest : public QObject {
    Q_OBJECT

private:
    struct Fixture {
        ProgramFolder program;
        TempFolder work;
        TempFolder scratch;
        std::vector<std::string> folders;
        DialogScript script;
        MessageRecorder messages;
        std::unique_ptr<CQuarrantApp> app;
        CManageFrame* manage = nullptr;
        CManageTreeView* tree = nullptr;

        Fixture(const std::vector<std::string>& names, const std::vector<std::string>& drawings) {
            std::string lines;
            for (const std::string& name : names) {
                folders.push_back(SavedProject(work, name, scratch, drawings));
                lines += folders.back() + "\r\n";
            }
            WriteBytes(program.Path("PATH.ini"), lines);
            app = std::make_unique<CQuarrantApp>();
            app->InitInstance(program.Path(), true);
            if (!QTest::qWaitForWindowExposed(app->MainFrame())) {
                qWarning("main window not exposed");
            }
            for (QMdiSubWindow* frame : app->MainFrame()->MdiArea()->subWindowList()) {
                if (auto* found = qobject_cast<CManageFrame*>(frame->widget())) {
                    manage = found;
                }
            }
            tree = manage->TreeView();
        }

        Project& ProjectAt(std::size_t i) { return *app->Manager().projects[i]; }
        // Opens a project's node as the user does, so that its children can be clicked.
        void Expand(std::size_t i) { Item(ProjectAt(i).projectItem)->setExpanded(true); }
        QTreeWidgetItem* Item(TreeItemHandle handle) { return tree->ItemOf(handle); }
        QPoint Centre(TreeItemHandle handle) { return tree->ItemTextRect(Item(handle)).center(); }

        void RightClick(const QPoint& point) {
            QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, point);
        }
        void DoubleClick(const QPoint& point) {
            QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, point);
        }

        // Windows of the given type that only show a label, counted as the real ones will be.
        void PlugInWindows(const char* type, int toolBar) {
            app->Templates().Find(type)->SetFactory([type, toolBar](void*) {
                auto* frame = new QMdiSubWindow;
                frame->setWidget(new QLabel(QString::fromLatin1(type)));
                SetChildResources(frame, toolBar, kMenuMainFrame);
                return frame;
            });
        }
    };

    static std::vector<std::string> ChildTexts(QTreeWidgetItem* item) {
        std::vector<std::string> texts;
        for (int i = 0; i < item->childCount(); ++i) {
            texts.push_back(item->child(i)->text(0).toStdString());
        }
        return texts;
    }

private slots:
    void treeShowsRootProjectsTablesAndDrawingsWithTheirIcons() {
        Fixture f({"钢屋架示例"}, {"屋架施工图", "支撑布置图"});
        QTreeWidgetItem* root = f.Item(f.app->Manager().rootItem);
        QCOMPARE(root->text(0), Q("工程管理器"));
        QVERIFY(root->isExpanded());
        QCOMPARE(ChildTexts(root), std::vector<std::string>{"钢屋架示例【结构工程】"});
        QCOMPARE(ChildTexts(root->child(0)),
                 (std::vector<std::string>{"工程量汇总表", "结构材料统计表", "工程量计算明细表",
                                           "无图纸数据添加窗口", "屋架施工图", "支撑布置图"}));
        for (QTreeWidgetItem* item :
             {root, root->child(0), root->child(0)->child(0), root->child(0)->child(5)}) {
            QVERIFY2(!item->icon(0).isNull(), qPrintable(item->text(0)));
        }
    }

    void selectingNodesFillsTheListByKind() {
        Fixture f({"一号楼", "二号楼"}, {"屋架"});
        CManageDataView* list = f.manage->DataView();
        f.tree->setCurrentItem(f.Item(f.app->Manager().rootItem));
        QVERIFY(!list->InReportMode());
        QCOMPARE(list->IconList()->count(), 2);
        QCOMPARE(list->IconList()->item(1)->text(), Q("二号楼"));

        f.tree->setCurrentItem(f.Item(f.ProjectAt(0).projectItem));
        QCOMPARE(list->IconList()->count(), 5);
        QCOMPARE(list->IconList()->item(4)->text(), Q("屋架"));
        QCOMPARE(GbkToUtf8(f.tree->CurrentKind()), std::string("工程名称"));

        // A report table leaves the list as it was.
        f.tree->setCurrentItem(f.Item(f.ProjectAt(0).summaryTable.treeItem));
        QCOMPARE(list->IconList()->count(), 5);
        QCOMPARE(GbkToUtf8(list->CurrentKind()), std::string("工程量汇总表"));
    }

    void rightClickOnEmptySpaceShowsNoMenuAndChangesNothing() {
        Fixture f({"一号楼"}, {});
        QTreeWidgetItem* before = f.tree->currentItem();
        f.RightClick(QPoint(5, f.tree->viewport()->height() - 5));
        QVERIFY(f.script.menus.empty());
        QCOMPARE(f.tree->currentItem(), before);
        // Right of a label is empty space too.
        QRect rootRect = f.tree->ItemTextRect(f.Item(f.app->Manager().rootItem));
        f.RightClick(QPoint(rootRect.right() + 40, rootRect.center().y()));
        QVERIFY(f.script.menus.empty());
        QCOMPARE(f.tree->currentItem(), before);
    }

    void rightClickOnTheDataTableSelectsItAndFillsTheRowListWithoutMenu() {
        Fixture f({"一号楼"}, {});
        Project& project = f.ProjectAt(0);
        for (int id : {1, 2}) {
            auto row = std::make_shared<QuantityRow>();
            row->identifier = id;
            row->itemName = G("钢屋架GWJ") + std::to_string(id);
            row->count = "2";
            row->unit = "t";
            row->quantity = "1.250";
            project.dataTable.rows.SetAt(id, row);
        }
        f.Expand(0);
        f.RightClick(f.Centre(project.dataTable.treeItem));
        QCOMPARE(f.tree->currentItem(), f.Item(project.dataTable.treeItem));
        QVERIFY(f.script.menus.empty());
        CManageDataView* list = f.manage->DataView();
        QVERIFY(list->InReportMode());
        QCOMPARE(list->ReportList()->topLevelItemCount(), 2);
        QCOMPARE(list->ReportList()->headerItem()->text(1), Q("项目名称"));
        QCOMPARE(list->ReportList()->topLevelItem(0)->text(0), QStringLiteral("1"));
        QCOMPARE(list->ReportList()->topLevelItem(0)->text(4), QStringLiteral("1.250"));
    }

    void rightClickOnNodesShowsTheirContextMenus() {
        Fixture f({"一号楼"}, {"屋架"});
        f.RightClick(f.Centre(f.app->Manager().rootItem));
        f.RightClick(f.Centre(f.ProjectAt(0).projectItem));
        // A drawing of a collapsed project cannot be hit.
        QTreeWidgetItem* drawingItem = f.Item(f.ProjectAt(0).drawings[0]->treeItem);
        QPoint hidden = f.tree->ItemTextRect(drawingItem).center();
        f.RightClick(hidden);
        QCOMPARE(f.script.menus.size(), std::size_t(2));
        f.Expand(0);
        f.RightClick(f.Centre(f.ProjectAt(0).drawings[0]->treeItem));
        QCOMPARE(f.script.menus.size(), std::size_t(3));
        QCOMPARE(f.script.menus[0], (std::vector<QString>{Q("添加工程"), Q("新建工程")}));
        QCOMPARE(f.script.menus[1],
                 (std::vector<QString>{Q("添加图纸"), Q("保存工程"), Q("删除")}));
        QCOMPARE(f.script.menus[2], std::vector<QString>{Q("删除")});
        QCOMPARE(f.tree->currentItem(), f.Item(f.ProjectAt(0).drawings[0]->treeItem));
    }

    void doubleClickOnAnOpenNodeRaisesItsWindowInsteadOfOpeningASecond() {
        Fixture f({"一号楼"}, {"屋架"});
        f.PlugInWindows(kDrawingDocType, kToolBarDrawing);
        f.PlugInWindows(kDataDocType, kToolBarData);
        CMainFrame& main = *f.app->MainFrame();
        Drawing& drawing = *f.ProjectAt(0).drawings[0];
        f.ProjectAt(0).projectType = G("钢结构");  // shows that opening sets the current type
        f.Expand(0);

        f.DoubleClick(f.Centre(drawing.treeItem));
        CDocTemplate* drawings = f.app->Templates().Find(kDrawingDocType);
        QCOMPARE(drawings->Frames().size(), std::size_t(1));
        QMdiSubWindow* drawingFrame = drawings->Frames().front();
        QCOMPARE(drawingFrame->windowTitle(), QStringLiteral("YZN1"));
        QCOMPARE(main.VisibleToolBar(), kToolBarDrawing);
        QCOMPARE(GbkToUtf8(f.app->GetSettings().currentProjectType), std::string("钢结构"));

        // Another window comes to the front, then the drawing is double-clicked again.
        auto* managerFrame = qobject_cast<QMdiSubWindow*>(f.manage->parentWidget());
        QVERIFY(managerFrame != nullptr);
        main.MdiArea()->setActiveSubWindow(managerFrame);
        f.DoubleClick(f.Centre(f.ProjectAt(0).dataTable.treeItem));
        QCOMPARE(main.VisibleToolBar(), kToolBarData);
        QCOMPARE(main.OpenWindows(), 3);
        main.MdiArea()->setActiveSubWindow(managerFrame);
        QCOMPARE(main.VisibleToolBar(), kToolBarManager);
        f.DoubleClick(f.Centre(drawing.treeItem));
        QCOMPARE(drawings->Frames().size(), std::size_t(1));
        QCOMPARE(main.MdiArea()->activeSubWindow(), drawingFrame);
        QCOMPARE(main.VisibleToolBar(), kToolBarDrawing);
        QCOMPARE(main.OpenWindows(), 3);
        QCOMPARE(main.MdiArea()->subWindowList().size(), 3);
    }

    void doubleClickOnRootOrProjectOpensNothing() {
        Fixture f({"一号楼"}, {});
        f.PlugInWindows(kDrawingDocType, kToolBarDrawing);
        f.DoubleClick(f.Centre(f.app->Manager().rootItem));
        f.DoubleClick(f.Centre(f.ProjectAt(0).projectItem));
        QCOMPARE(f.app->MainFrame()->MdiArea()->subWindowList().size(), 1);
        QCOMPARE(f.app->MainFrame()->OpenWindows(), 1);
        // A report table opens its report window.
        f.Expand(0);
        f.DoubleClick(f.Centre(f.ProjectAt(0).summaryTable.treeItem));
        QCOMPARE(f.app->MainFrame()->MdiArea()->subWindowList().size(), 2);
        QCOMPARE(f.app->MainFrame()->VisibleToolBar(), kToolBarReport);
    }

    void saveAllProjectsSavesEveryProjectModifiedOrNot() {
        Fixture f({"一号楼", "二号楼", "三号楼"}, {});
        for (const std::string& folder : f.folders) {
            std::filesystem::remove(FsPath(JoinPath(folder, LastPathComponent(folder))));
            std::filesystem::remove(FsPath(JoinPath(folder, "YZN0")));
        }
        f.ProjectAt(1).modified = 1;
        f.app->MainFrame()->OnCommand(kCmdSaveAllProjects);
        for (const std::string& folder : f.folders) {
            QVERIFY(Exists(JoinPath(folder, LastPathComponent(folder))));
            QVERIFY(Exists(JoinPath(folder, "YZN0")));
        }
        QVERIFY(f.messages.texts.empty());
    }

    void saveSelectedProjectSavesOnlyTheCurrentProject() {
        Fixture f({"一号楼", "二号楼"}, {});
        for (const std::string& folder : f.folders) {
            std::filesystem::remove(FsPath(JoinPath(folder, "YZN0")));
        }
        f.tree->setCurrentItem(f.Item(f.ProjectAt(1).projectItem));
        f.app->MainFrame()->OnCommand(kCmdSaveSelectedProject);
        QVERIFY(!Exists(JoinPath(f.folders[0], "YZN0")));
        QVERIFY(Exists(JoinPath(f.folders[1], "YZN0")));
    }

    void newProjectFromTheRootMenuAddsItsNodesAndItsPathLine() {
        Fixture f({"一号楼"}, {});
        f.script.menuChoice = Q("新建工程");
        f.script.answers[QStringLiteral("NewProjectDlg")] = [&](QDialog& dialog) {
            auto& newProject = static_cast<CNewProjectDlg&>(dialog);
            newProject.NameEdit()->setText(Q("新车间"));
            newProject.PathEdit()->setText(QString::fromStdString(f.work.Path()));
            newProject.TypeCombo()->setCurrentIndex(0);
            newProject.accept();
            return newProject.result();
        };
        f.RightClick(f.Centre(f.app->Manager().rootItem));
        QCOMPARE(f.app->Manager().projects.size(), std::size_t(2));
        QTreeWidgetItem* root = f.Item(f.app->Manager().rootItem);
        QCOMPARE(root->childCount(), 2);
        QCOMPARE(root->child(1)->text(0), Q("新车间【结构工程】"));
        QCOMPARE(root->child(1)->childCount(), 4);
        std::string folder = f.work.Path(G("新车间"));
        QVERIFY(Exists(JoinPath(folder, G("新车间"))));
        QCOMPARE(ReadBytes(f.program.Path("PATH.ini")), f.folders[0] + "\r\n" + folder + "\r\n");
        // The root's list shows the new project.
        QCOMPARE(f.manage->DataView()->IconList()->count(), 2);
    }

    void addingAnExistingProjectFromTheRootMenuLoadsItIntoTheTree() {
        Fixture f({"一号楼"}, {});
        std::string other = SavedProject(f.work, "二号楼", f.scratch, {"屋架"});
        f.script.menuChoice = Q("添加工程");
        f.script.answers[QStringLiteral("OpenProjectDlg")] = [&](QDialog& dialog) {
            auto& open = static_cast<COpenProjectDlg&>(dialog);
            open.FolderEdit()->setText(QString::fromStdString(FsPath(other).string()));
            open.accept();
            return open.result();
        };
        f.RightClick(f.Centre(f.app->Manager().rootItem));
        QCOMPARE(ChildTexts(f.Item(f.app->Manager().rootItem)),
                 (std::vector<std::string>{"一号楼【结构工程】", "二号楼【结构工程】"}));
        QCOMPARE(f.Item(f.ProjectAt(1).projectItem)->childCount(), 5);
        QCOMPARE(ReadBytes(f.program.Path("PATH.ini")), f.folders[0] + "\r\n" + other + "\r\n");
        // The same folder a second time is refused by the model with a message.
        f.RightClick(f.Centre(f.app->Manager().rootItem));
        QCOMPARE(f.app->Manager().projects.size(), std::size_t(2));
        QCOMPARE(f.messages.texts.size(), std::size_t(1));
        QVERIFY(f.messages.texts[0].rfind("该工程已经打开", 0) == 0);
    }

    void addingADrawingFromTheProjectMenuImportsItAsTheLastNode() {
        Fixture f({"一号楼"}, {"屋架"});
        WriteBytes(f.work.Path("plan.a.dxf"), SmallDxf());
        f.script.fileChoice = QString::fromStdString(FsPath(f.work.Path("plan.a.dxf")).string());
        f.script.menuChoice = Q("添加图纸");
        bool accept = false;
        f.script.answers[QStringLiteral("AddDrawDlg")] = [&](QDialog& dialog) {
            auto& add = static_cast<CAddDrawDlg&>(dialog);
            add.ChooseButton()->click();
            if (!accept) {
                return static_cast<int>(QDialog::Rejected);
            }
            add.accept();
            return add.result();
        };
        Project& project = f.ProjectAt(0);
        f.RightClick(f.Centre(project.projectItem));  // cancelled
        QCOMPARE(project.drawings.size(), std::size_t(1));
        QCOMPARE(project.modified, 0);
        accept = true;
        f.RightClick(f.Centre(project.projectItem));
        QCOMPARE(project.drawings.size(), std::size_t(2));
        Drawing& added = *project.drawings[1];
        QCOMPARE(added.drawingName, std::string("plan"));
        QCOMPARE(added.unit, std::string("mm"));
        QCOMPARE(added.scale, std::string("1:1"));
        QCOMPARE(added.fileName, std::string("YZN2"));
        QVERIFY(added.CadFile().drawing != nullptr);
        QVERIFY(!added.CadFile().drawing->entities.empty());
        QCOMPARE(project.modified, 1);
        QTreeWidgetItem* projectItem = f.Item(project.projectItem);
        QCOMPARE(projectItem->child(projectItem->childCount() - 1), f.Item(added.treeItem));
        QCOMPARE(f.Item(added.treeItem)->text(0), QStringLiteral("plan"));
        // The project's list shows the new drawing too.
        QCOMPARE(f.manage->DataView()->IconList()->count(), 6);
        QVERIFY(f.messages.texts.empty());
    }

    void deletingADrawingRemovesItsNodeAndClosesItsWindow() {
        Fixture f({"一号楼"}, {"屋架", "支撑"});
        f.PlugInWindows(kDrawingDocType, kToolBarDrawing);
        Project& project = f.ProjectAt(0);
        f.Expand(0);
        f.DoubleClick(f.Centre(project.drawings[0]->treeItem));
        QCOMPARE(f.app->MainFrame()->OpenWindows(), 2);
        f.script.menuChoice = Q("删除");
        f.RightClick(f.Centre(project.drawings[0]->treeItem));
        QCOMPARE(project.drawings.size(), std::size_t(1));
        QCOMPARE(GbkToUtf8(project.drawings[0]->drawingName), std::string("支撑"));
        QCOMPARE(project.modified, 1);
        QCOMPARE(f.Item(project.projectItem)->childCount(), 5);
        QCOMPARE(f.app->MainFrame()->OpenWindows(), 1);
        QCOMPARE(f.app->MainFrame()->VisibleToolBar(), kToolBarManager);
    }

    void deletingAProjectRemovesItFromTreeAndPathList() {
        Fixture f({"一号楼", "二号楼"}, {});
        f.script.menuChoice = Q("删除");
        f.RightClick(f.Centre(f.ProjectAt(0).projectItem));
        QCOMPARE(f.app->Manager().projects.size(), std::size_t(1));
        QCOMPARE(ChildTexts(f.Item(f.app->Manager().rootItem)),
                 std::vector<std::string>{"二号楼【结构工程】"});
        QCOMPARE(ReadBytes(f.program.Path("PATH.ini")), f.folders[1] + "\r\n");
        QVERIFY(Exists(JoinPath(f.folders[0], LastPathComponent(f.folders[0]))));
    }
};

QUARRANT_APP_TEST_MAIN(ManageTreeTest)
#include "ManageTreeTest.moc"
