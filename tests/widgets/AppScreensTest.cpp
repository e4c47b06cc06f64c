// What a newcomer sees: the program's font renders Chinese, the main window with the sample
// project in the project manager, the add-drawing dialog previewing the sample drawing, and
// the settings dialog. With QUARRANT_SCREENSHOT_DIR set, each screen is also saved there as a
// PNG file for a look by eye.

#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRawFont>
#include <QTreeWidget>

#include "AppTestSupport.h"
#include "app/widgets/MainFrame.h"
#include "app/widgets/QuarrantApp.h"
#include "app/widgets/SetDlg.h"
#include "cad/ColorTable.h"
#include "cad/LoadDxf.h"
#include "project/widgets/AddDrawDlg.h"
#include "project/widgets/DrawingPreview.h"
#include "project/widgets/ManageDataView.h"
#include "project/widgets/ManageFrame.h"
#include "project/widgets/ManageTreeView.h"

using namespace quarrant;
using namespace quarrant::apptest;

class AppScreensTest : public QObject {
    Q_OBJECT

private:
    // The sample drawing as the build lays it out.
    static std::string SampleDxf() {
        return JoinPath(JoinPath(QUARRANT_PROGRAM_FOLDER, G("示例工程")), G("钢屋架GWJ-1.dxf"));
    }

    static void Save(QWidget& widget, const char* name) {
        QByteArray folder = qgetenv("QUARRANT_SCREENSHOT_DIR");
        if (folder.isEmpty()) {
            return;
        }
        QImage image = widget.grab().toImage();
        QVERIFY(image.save(QString::fromLocal8Bit(folder) + QLatin1Char('/') +
                           QString::fromLatin1(name) + QStringLiteral(".png")));
    }

    // Share of pixels that are neither the background nor nearly so: a box-only rendering of
    // the texts would still be dark, so the glyph check below is the real test of the font.
    static bool HasContent(const QImage& image) {
        const QRgb background = image.pixel(image.width() / 2, image.height() - 2);
        for (int y = 0; y < image.height(); y += 3) {
            for (int x = 0; x < image.width(); x += 3) {
                if (image.pixel(x, y) != background) {
                    return true;
                }
            }
        }
        return false;
    }

private slots:
    void programFontHasTheChineseGlyphsOfTheInterface() {
        QFont font = ProgramFont();
        QFontMetrics metrics(font);
        for (char32_t c :
             U"工程管理器钢屋架示例结构材料统计表无图纸数据添加窗口坐标位置精度值（）：") {
            if (c == 0) {
                break;
            }
            QVERIFY2(metrics.inFontUcs4(c), qPrintable(QString::number(c, 16)));
        }
        QVERIFY(QFontInfo(font).family().contains(QStringLiteral("SimSun")) ||
                QFontInfo(font).family().contains(QStringLiteral("CJK")));
    }

    void mainWindowShowsTheSampleProjectInTheProjectManager() {
        if (!Exists(SampleDxf())) {
            QSKIP("the program folder of the build has no sample drawing yet");
        }
        ProgramFolder program;
        TempFolder work;
        TempFolder scratch;
        std::string folder = SavedProject(work, "钢屋架示例工程", scratch);
        {
            // The drawing as the build adds it: imported from the DXF by the model.
            MessageList messages;
            ProjectManager maker(messages);
            maker.SetProgramFolder(scratch.Path());
            maker.SetColorTable(LoadColorTable(program.Path()).ValueOr(nullptr));
            std::unique_ptr<Project> project = maker.LoadProject(folder);
            QVERIFY(project != nullptr);
            auto imported = std::make_unique<CCadFile>();
            QCOMPARE(LoadDxf(*imported, SampleDxf(), maker.ColorTable(), 1.0), 0);
            QVERIFY(
                maker.AddDrawing(*project, G("钢屋架施工图"), "mm", "1:1", std::move(imported)));
            QVERIFY(maker.SaveProject(*project));
            QVERIFY(messages.Messages().empty());
        }
        WriteBytes(program.Path("PATH.ini"), folder + "\r\n");
        DialogScript script;
        MessageRecorder recorder;
        CQuarrantApp app;
        QVERIFY(app.InitInstance(program.Path(), false));
        CMainFrame& frame = *app.MainFrame();
        frame.resize(1280, 800);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        Project& project = *app.Manager().projects.at(0);
        auto* manage =
            qobject_cast<CManageFrame*>(frame.MdiArea()->subWindowList().at(0)->widget());
        QVERIFY(manage != nullptr);
        manage->TreeView()->ItemOf(project.projectItem)->setExpanded(true);
        manage->TreeView()->setCurrentItem(manage->TreeView()->ItemOf(project.projectItem));
        QCOMPARE(manage->DataView()->IconList()->count(), 5);
        QCOMPARE(manage->DataView()->IconList()->item(4)->text(), Q("钢屋架施工图"));
        QVERIFY(recorder.texts.empty());
        QTest::qWait(50);
        QImage shot = frame.grab().toImage();
        QVERIFY(HasContent(shot));
        Save(frame, "main-window");
    }

    void addDrawingDialogPreviewsTheSampleDrawing() {
        if (!Exists(SampleDxf())) {
            QSKIP("the program folder of the build has no sample drawing yet");
        }
        ProgramFolder program;
        DialogScript script;
        MessageRecorder recorder;
        Project project;
        CAddDrawDlg dialog(project, LoadColorTable(program.Path()).ValueOr(nullptr), 1.0);
        dialog.resize(760, 600);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        script.fileChoice = QString::fromStdString(FsPath(SampleDxf()).string());
        dialog.ChooseButton()->click();
        QVERIFY(recorder.texts.empty());
        QCOMPARE(dialog.NameEdit()->text(), Q("钢屋架GWJ-1"));
        QVERIFY(dialog.Preview()->Scale() > 0.0);
        QTest::qWait(50);
        QVERIFY(HasContent(dialog.Preview()->Widget()->grab().toImage()));
        Save(dialog, "add-drawing");
    }

    void settingsDialogShowsBothPrecisions() {
        Settings settings;
        MessageList messages;
        CSetDlg dialog(settings, messages);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.CoordinateEdit()->text(), QStringLiteral("1.000000"));
        QCOMPARE(dialog.AngleEdit()->text(), QStringLiteral("0.010000"));
        Save(dialog, "settings");
    }
};

QUARRANT_APP_TEST_MAIN(AppScreensTest)
#include "AppScreensTest.moc"
