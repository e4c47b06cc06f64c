// The exit sequence of the main frame: catalogues written, the ask dialog once when a project
// is modified, the modified projects saved on a worker thread behind the progress dialog.

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "AppTestSupport.h"
#include "app/CatalogueFile.h"
#include "app/widgets/MainFrame.h"
#include "app/widgets/ProgressDlg.h"
#include "app/widgets/QuarrantApp.h"
#include "app/widgets/XunwenDlg.h"
#include "project/ProjectFiles.h"

using namespace quarrant;
using namespace quarrant::apptest;

class AppExitTest : public QObject {
    Q_OBJECT

private:
    struct Fixture {
        ProgramFolder program;
        TempFolder work;
        TempFolder scratch;
        std::vector<std::string> folders;

        explicit Fixture(const std::vector<std::string>& names) {
            std::string lines;
            for (const std::string& name : names) {
                folders.push_back(SavedProject(work, name, scratch));
                lines += folders.back() + "\r\n";
            }
            WriteBytes(program.Path("PATH.ini"), lines);
        }

        // The project file of project i as it is on disk.
        std::string ProjectFile(std::size_t i) const {
            return ReadBytes(JoinPath(folders[i], LastPathComponent(folders[i])));
        }
    };

    // Marks the project modified the way adding a drawing does, with a change the file shows.
    static void Modify(Project& project) {
        auto drawing = std::make_unique<Drawing>(&project);
        drawing->drawingName = G("屋架");
        drawing->fileName = project.TakeFileName();
        drawing->unit = "mm";
        drawing->scale = "1:1";
        drawing->CadFile().drawing = std::make_unique<CCadDrawing>();
        project.drawings.push_back(std::move(drawing));
        project.modified = 1;
    }

private slots:
    void exitWithNoModifiedProjectAsksNothingAndWritesTheCatalogues() {
        Fixture fixture({"一号楼", "二号楼"});
        DialogScript script;
        MessageRecorder messages;
        std::string before = fixture.ProjectFile(0);
        {
            CQuarrantApp app;
            QVERIFY(app.InitInstance(fixture.program.Path(), false));
            app.GetSettings().materialCatalogue.SetAt(G("Q235钢板"),
                                                      CatalogueRecord{G("Q235钢板"), "kg", "78.5"});
            app.MainFrame()->close();
            QVERIFY(script.shown.empty());
            Catalogue written;
            QVERIFY(
                DecodeCatalogue(ReadBytes(fixture.program.Path(G("钢结构数据库.ini"))), written));
            QCOMPARE(written.size(), std::size_t(1));
        }
        QVERIFY(script.shown.empty());  // the destruction does not run it again
        QCOMPARE(fixture.ProjectFile(0), before);
        QVERIFY(messages.texts.empty());
    }

    void exitWithTwoModifiedProjectsAsksOnceAndSavesBoth() {
        Fixture fixture({"一号楼", "二号楼", "三号楼"});
        DialogScript script;
        MessageRecorder messages;
        int polledValue = -1;
        script.answers[QStringLiteral("XunwenDlg")] = [](QDialog&) {
            return static_cast<int>(QDialog::Accepted);
        };
        script.answers[QStringLiteral("ProgressDlg")] = [&](QDialog& dialog) {
            int result = RunUntilClosed(dialog);
            polledValue = static_cast<CProgressDlg&>(dialog).Bar()->value();
            return result;
        };
        std::string untouched = fixture.ProjectFile(1);
        CQuarrantApp app;
        QVERIFY(app.InitInstance(fixture.program.Path(), false));
        Modify(*app.Manager().projects[0]);
        Modify(*app.Manager().projects[2]);
        app.MainFrame()->close();

        QCOMPARE(script.Count(QStringLiteral("XunwenDlg")), 1);
        QCOMPARE(script.Count(QStringLiteral("ProgressDlg")), 1);
        QVERIFY(script.unanswered.empty());
        for (std::size_t i : {std::size_t(0), std::size_t(2)}) {
            Project reread;
            Result<DrawingList> decoded = DecodeProjectFile(fixture.ProjectFile(i), reread, "");
            QVERIFY(decoded && decoded.Value() == DrawingList::kWhole);
            QCOMPARE(reread.drawings.size(), std::size_t(1));
            QCOMPARE(GbkToUtf8(reread.drawings[0]->drawingName), std::string("屋架"));
            QVERIFY(Exists(JoinPath(fixture.folders[i], "YZN1")));
        }
        QCOMPARE(fixture.ProjectFile(1), untouched);
        // The dialog closed when done reached total and left both counters at 0.
        QCOMPARE(polledValue, 0);
        QCOMPARE(app.GetSettings().progressTotal.load(), 0);
        QCOMPARE(app.GetSettings().progressDone.load(), 0);
        QVERIFY(messages.texts.empty());
    }

    void aProjectThatCannotBeSavedIsReportedOnceTheWorkerHasFinished() {
        Fixture fixture({"一号楼", "二号楼"});
        DialogScript script;
        MessageRecorder messages;
        script.answers[QStringLiteral("XunwenDlg")] = [](QDialog&) {
            return static_cast<int>(QDialog::Accepted);
        };
        script.answers[QStringLiteral("ProgressDlg")] = [](QDialog& dialog) {
            return RunUntilClosed(dialog);
        };
        CQuarrantApp app;
        QVERIFY(app.InitInstance(fixture.program.Path(), false));
        Modify(*app.Manager().projects[0]);
        Modify(*app.Manager().projects[1]);
        // The first project's folder goes away while the program runs.
        std::filesystem::remove_all(FsPath(fixture.folders[0]));
        app.MainFrame()->close();
        // The worker's message reached the interface thread and was shown there; the second
        // project was saved all the same.
        QCOMPARE(messages.texts.size(), std::size_t(1));
        QVERIFY(messages.texts[0].find("一号楼") != std::string::npos);
        Project reread;
        Result<DrawingList> decoded = DecodeProjectFile(fixture.ProjectFile(1), reread, "");
        QVERIFY(decoded && decoded.Value() == DrawingList::kWhole);
        QCOMPARE(reread.drawings.size(), std::size_t(1));
    }

    void answeringNoSavesNothingAndShowsNoProgress() {
        Fixture fixture({"一号楼"});
        DialogScript script;
        script.answers[QStringLiteral("XunwenDlg")] = [](QDialog&) {
            return static_cast<int>(QDialog::Rejected);
        };
        std::string before = fixture.ProjectFile(0);
        CQuarrantApp app;
        QVERIFY(app.InitInstance(fixture.program.Path(), false));
        Modify(*app.Manager().projects[0]);
        app.MainFrame()->close();
        QCOMPARE(script.Count(QStringLiteral("XunwenDlg")), 1);
        QCOMPARE(script.Count(QStringLiteral("ProgressDlg")), 0);
        QCOMPARE(fixture.ProjectFile(0), before);
    }

    void askDialogShowsTheQuestionWithYesAndNo() {
        DialogScript script;
        CXunwenDlg ask;
        QLabel* text = ask.findChild<QLabel*>(QStringLiteral("QuestionText"));
        QVERIFY(text != nullptr);
        QCOMPARE(text->text(), Q("工程数据已经更改，是否要保存工程？"));
        QPushButton* yes = ask.findChild<QPushButton*>(QStringLiteral("YesButton"));
        QPushButton* no = ask.findChild<QPushButton*>(QStringLiteral("NoButton"));
        QCOMPARE(yes->text(), Q("是"));
        QCOMPARE(no->text(), Q("否"));
        QTimer::singleShot(0, yes, &QPushButton::click);
        QCOMPARE(ask.exec(), static_cast<int>(QDialog::Accepted));
        QTimer::singleShot(0, no, &QPushButton::click);
        QCOMPARE(ask.exec(), static_cast<int>(QDialog::Rejected));
    }

    void progressDialogFollowsTheCountersAndClosesWhenDoneEqualsTotal() {
        std::atomic<int> total{4};
        std::atomic<int> done{1};
        CProgressDlg dialog(total, done);
        QTimer::singleShot(0, &dialog, [&] {
            QCOMPARE(dialog.Bar()->minimum(), 1);
            QCOMPARE(dialog.Bar()->maximum(), 4);
            QCOMPARE(dialog.Bar()->value(), 1);
            QVERIFY(dialog.IsPolling());
        });
        QTimer::singleShot(120, &dialog, [&] {
            QVERIFY(dialog.isVisible());  // 3 of 4: still open
            done = 3;
        });
        QTimer::singleShot(240, &dialog, [&] {
            QCOMPARE(dialog.Bar()->value(), 3);
            done = 4;
        });
        QCOMPARE(RunUntilClosed(dialog), static_cast<int>(QDialog::Accepted));
        QVERIFY(!dialog.IsPolling());
        QCOMPARE(total.load(), 0);
        QCOMPARE(done.load(), 0);
    }
};

QUARRANT_APP_TEST_MAIN(AppExitTest)
#include "AppExitTest.moc"
