// Start-up of the application object in a program folder of its own, the main frame with its
// toolbars and status bar, the document templates, the help command and the about box.

#include <QAction>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolBar>
#include <QTreeWidget>

#include <algorithm>

#include "AppTestSupport.h"
#include "app/CatalogueFile.h"
#include "app/widgets/AboutDlg.h"
#include "app/widgets/MainFrame.h"
#include "app/widgets/QuarrantApp.h"
#include "app/widgets/SetDlg.h"
#include "platform/CommandActions.h"
#include "platform/CommandTables.h"
#include "platform/IconArt.h"
#include "project/widgets/ManageFrame.h"
#include "project/widgets/ManageTreeView.h"

using namespace quarrant;
using namespace quarrant::apptest;

class AppStartUpTest : public QObject {
    Q_OBJECT

private:
    // The tree's texts below the root, in order (UTF-8).
    static std::vector<std::string> ProjectTexts(CQuarrantApp& app) {
        std::vector<std::string> texts;
        auto* root = static_cast<QTreeWidgetItem*>(app.Manager().rootItem);
        for (int i = 0; root != nullptr && i < root->childCount(); ++i) {
            texts.push_back(root->child(i)->text(0).toStdString());
        }
        return texts;
    }

    static CManageFrame* ManagerFrame(CQuarrantApp& app) {
        for (QMdiSubWindow* frame : app.MainFrame()->MdiArea()->subWindowList()) {
            if (auto* manage = qobject_cast<CManageFrame*>(frame->widget())) {
                return manage;
            }
        }
        return nullptr;
    }

    static std::vector<int> VisibleToolBars(CMainFrame& frame) {
        std::vector<int> visible;
        for (int id : {148, 128, 144, 146, 161}) {
            if (!frame.ToolBar(id)->isHidden()) {
                visible.push_back(id);
            }
        }
        return visible;
    }

private slots:
    void pathListWithDeletedMiddleFolderKeepsFirstAndThirdLines() {
        ProgramFolder program;
        TempFolder work;
        TempFolder scratch;
        std::string first = SavedProject(work, "一号楼", scratch);
        std::string second = SavedProject(work, "二号楼", scratch);
        std::string third = SavedProject(work, "三号楼", scratch);
        WriteBytes(program.Path("PATH.ini"), first + "\r\n" + second + "\r\n" + third + "\r\n");
        std::filesystem::remove_all(FsPath(second));

        MessageRecorder messages;
        DialogScript script;
        CQuarrantApp app;
        QVERIFY(app.InitInstance(program.Path(), false));
        QCOMPARE(app.Manager().projects.size(), std::size_t(2));
        QCOMPARE(ReadBytes(program.Path("PATH.ini")), first + "\r\n" + third + "\r\n");
        QCOMPARE(ProjectTexts(app),
                 (std::vector<std::string>{"一号楼【结构工程】", "三号楼【结构工程】"}));
        // The loader said why the second one went.
        QCOMPARE(messages.texts.size(), std::size_t(1));
        QVERIFY(messages.texts[0].find("二号楼") != std::string::npos);
    }

    void oneLineSetIniSetsTheCoordinatePrecisionAndLeavesTheAngleAtZero() {
        ProgramFolder program;
        WriteBytes(program.Path("Set.ini"), "0.25\r\n");
        DialogScript script;
        CQuarrantApp app;
        QVERIFY(app.InitInstance(program.Path(), false));
        QCOMPARE(app.GetSettings().coordinatePrecision, 0.25f);
        QCOMPARE(app.GetSettings().lineAnglePrecision, 0.0f);
    }

    void emptyMaterialCatalogueLeavesBothCataloguesEmpty() {
        ProgramFolder program;
        Catalogue structures;
        structures.SetAt(G("钢屋架"), CatalogueRecord{G("钢屋架"), "", ""});
        WriteBytes(program.Path(G("钢结构数据库.ini")), "");
        WriteBytes(program.Path(G("钢结构.ini")), EncodeCatalogue(structures));
        DialogScript script;
        {
            CQuarrantApp app;
            QVERIFY(app.InitInstance(program.Path(), false));
            QVERIFY(app.GetSettings().materialCatalogue.empty());
            QVERIFY(app.GetSettings().structureCatalogue.empty());
        }
        // The unread structure file is not wiped at exit.
        QCOMPARE(ReadBytes(program.Path(G("钢结构.ini"))), EncodeCatalogue(structures));
    }

    void fourTemplatesAreRegisteredInOrderWithTheirTypeNames() {
        ProgramFolder program;
        DialogScript script;
        CQuarrantApp app;
        QVERIFY(app.InitInstance(program.Path(), false));
        const auto& templates = app.Templates().Templates();
        QCOMPARE(templates.size(), std::size_t(4));
        const std::vector<std::pair<int, std::string>> expected = {
            {130, "工程管理器"}, {131, "DATA"}, {132, "DRAWING"}, {133, "TABLE"}};
        for (std::size_t i = 0; i < expected.size(); ++i) {
            QCOMPARE(templates[i]->Resource(), expected[i].first);
            QCOMPARE(GbkToUtf8(templates[i]->TypeName()), expected[i].second);
        }
        QCOMPARE(GbkToUtf8(templates[0]->ResourceString()),
                 std::string(
                     "\n工程管理器\n工程管理器\n工程管理器\n工程管理器\n工程管理器\n工程管理器"));
        QCOMPARE(templates[3]->ResourceString(),
                 std::string("\nTABLE\nTABLE\nTABLE\nTABLE\nTABLE\nTABLE"));
    }

    void startUpOpensTheProjectManagerWithToolBar128Alone() {
        ProgramFolder program;
        DialogScript script;
        CQuarrantApp app;
        QVERIFY(app.InitInstance(program.Path(), false));
        CMainFrame& frame = *app.MainFrame();
        QCOMPARE(frame.MdiArea()->subWindowList().size(), 1);
        QVERIFY(ManagerFrame(app) != nullptr);
        QCOMPARE(VisibleToolBars(frame), std::vector<int>{128});
        QCOMPARE(frame.VisibleToolBar(), 128);
        QCOMPARE(frame.OpenWindows(), 1);
        // Menu 130's commands without a handler are disabled.
        QVERIFY(frame.Actions().Find(kCmdNewProject)->isEnabled());
        QVERIFY(frame.Actions().Find(kCmdSaveAllProjects)->isEnabled());
        QVERIFY(!frame.Actions().Find(kCmdManagerExit)->isEnabled());
        QVERIFY(!frame.Actions().Find(kCmdImportNorms)->isEnabled());
        QVERIFY(!frame.Actions().Find(kCmdOpenCover)->isEnabled());
    }

    void everyCommandOfTheVisibleToolBarHasAHandler() {
        // Left without a handler on purpose, so shown disabled: the manager's cover button.
        const std::vector<int> withoutHandler = {kCmdOpenCover};
        ProgramFolder program;
        DialogScript script;
        CQuarrantApp app;
        QVERIFY(app.InitInstance(program.Path(), false));
        CMainFrame& frame = *app.MainFrame();
        // The project manager, then the main frame with no window open.
        for (int toolBar : {kToolBarManager, kToolBarNoChild}) {
            if (toolBar == kToolBarNoChild) {
                delete frame.MdiArea()->subWindowList().front();
            }
            QCOMPARE(frame.VisibleToolBar(), toolBar);
            for (const CommandEntry& button : FindToolBar(toolBar)->buttons) {
                const bool expected =
                    button.id != 0 && std::find(withoutHandler.begin(), withoutHandler.end(),
                                                button.id) == withoutHandler.end();
                if (expected) {
                    QVERIFY2(
                        frame.Actions().Find(button.id)->isEnabled(),
                        qPrintable(
                            QStringLiteral("toolbar %1, command %2").arg(toolBar).arg(button.id)));
                }
            }
        }
    }

    void statusBarHasFourPanes() {
        ProgramFolder program;
        DialogScript script;
        CQuarrantApp app;
        QVERIFY(app.InitInstance(program.Path(), false));
        std::vector<QLabel*> panes = app.MainFrame()->StatusPanes();
        QCOMPARE(panes.size(), std::size_t(4));
        QCOMPARE(panes[0]->text(), Q("就绪"));
    }

    void closingTheLastWindowShowsToolBar148AndTheCommandReopensTheManager() {
        ProgramFolder program;
        DialogScript script;
        CQuarrantApp app;
        QVERIFY(app.InitInstance(program.Path(), false));
        CMainFrame& frame = *app.MainFrame();
        delete frame.MdiArea()->subWindowList().front();
        QCOMPARE(frame.OpenWindows(), 0);
        QCOMPARE(VisibleToolBars(frame), std::vector<int>{148});
        QVERIFY(!frame.Actions().Find(kCmdNewProject)->isEnabled());

        frame.Actions().Find(kCmdOpenProjectManager)->trigger();
        QCOMPARE(frame.MdiArea()->subWindowList().size(), 1);
        QCOMPARE(VisibleToolBars(frame), std::vector<int>{128});
        // A second time only brings the open one to the top.
        frame.OnCommand(kCmdOpenProjectManager);
        QCOMPARE(frame.MdiArea()->subWindowList().size(), 1);
        QCOMPARE(frame.OpenWindows(), 1);
    }

    void helpCommandOpensTheHelpPageOfTheProgramFolder() {
        ProgramFolder program;
        WriteBytes(program.Path(G("帮助.htm")), "<html></html>");
        DialogScript script;
        MessageRecorder messages;
        CQuarrantApp app;
        QVERIFY(app.InitInstance(program.Path(), false));
        app.MainFrame()->OnCommand(kCmdHelpTopics);
        QCOMPARE(script.opened.size(), std::size_t(1));
        QCOMPARE(script.opened[0],
                 QString::fromStdString(FsPath(program.Path(G("帮助.htm"))).string()));
        QVERIFY(messages.texts.empty());
    }

    void missingHelpPageIsReportedNotOpened() {
        ProgramFolder program;
        DialogScript script;
        MessageRecorder messages;
        CQuarrantApp app;
        QVERIFY(app.InitInstance(program.Path(), false));
        app.MainFrame()->OnCommand(kCmdHelpTopics);
        QVERIFY(script.opened.empty());
        QCOMPARE(messages.texts.size(), std::size_t(1));
        QVERIFY(messages.texts[0].rfind("无法打开帮助文件：", 0) == 0);
    }

    void precisionSettingsFromTheMenuAreInForceAtOnce() {
        ProgramFolder program;
        DialogScript script;
        script.answers[QStringLiteral("SetDlg")] = [](QDialog& dialog) {
            auto& settings = static_cast<CSetDlg&>(dialog);
            settings.CoordinateEdit()->setText(QStringLiteral("0.5"));
            settings.AngleEdit()->setText(QStringLiteral("0.01"));
            settings.accept();
            return settings.result();
        };
        CQuarrantApp app;
        QVERIFY(app.InitInstance(program.Path(), false));
        QVERIFY(app.MainFrame()->IsCommandEnabled(kCmdPrecisionSettings));
        app.MainFrame()->OnCommand(kCmdPrecisionSettings);
        QCOMPARE(script.Count(QStringLiteral("SetDlg")), 1);
        QCOMPARE(app.GetSettings().coordinatePrecision, 0.5f);
        QCOMPARE(app.GetSettings().lineAnglePrecision, 0.01f);
        QCOMPARE(ReadBytes(program.Path("Set.ini")), std::string("0.5\r\n0.01\r\n"));
    }

    void aboutBoxShowsCaptionAndVersion() {
        ProgramFolder program;
        DialogScript script;
        QString caption;
        QString version;
        script.answers[QStringLiteral("AboutDlg")] = [&](QDialog& dialog) {
            caption = dialog.windowTitle();
            version = dialog.findChild<QLabel*>(QStringLiteral("VersionText"))->text();
            return static_cast<int>(QDialog::Accepted);
        };
        CQuarrantApp app;
        QVERIFY(app.InitInstance(program.Path(), false));
        app.MainFrame()->OnCommand(kCmdAppAbout);
        QCOMPARE(caption, Q("关于 Quarrant"));
        QCOMPARE(version, Q("软件版本：V1.0"));
    }

    void treeIconsOfTheProgramFolderHold16And32Pixels() {
        const std::string source = JoinPath(QUARRANT_SOURCE_DIR, "programfolder");
        for (const char* name : {"11.ico", "21.ico", "31.ico", "41.ico", "51.ico", "71.ico"}) {
            QImageReader reader(QString::fromStdString(JoinPath(source, name)), "ico");
            QCOMPARE(reader.imageCount(), 2);
            std::vector<int> sizes;
            for (int i = 0; i < reader.imageCount(); ++i) {
                reader.jumpToImage(i);
                QImage image = reader.read();
                QVERIFY2(!image.isNull(), name);
                sizes.push_back(image.width());
            }
            std::sort(sizes.begin(), sizes.end());
            QCOMPARE(sizes, (std::vector<int>{16, 32}));
        }
    }
};

QUARRANT_APP_TEST_MAIN(AppStartUpTest)
#include "AppStartUpTest.moc"
