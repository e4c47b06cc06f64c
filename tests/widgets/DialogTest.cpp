// The project and drawing dialogs and the settings dialog: their refusals in order, the
// folder browser, the drawing import with its preview, and the precisions in force at once.

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "AppTestSupport.h"
#include "app/SettingsFiles.h"
#include "app/widgets/SetDlg.h"
#include "cad/ColorTable.h"
#include "project/Project.h"
#include "project/widgets/AddDrawDlg.h"
#include "project/widgets/DrawingPreview.h"
#include "project/widgets/NewProjectDlg.h"
#include "project/widgets/OpenProjectDlg.h"

using namespace quarrant;
using namespace quarrant::apptest;

class DialogTest : public QObject {
    Q_OBJECT

private:
    static HashMap17<std::string, std::string> ProjectTypes() {
        HashMap17<std::string, std::string> types;
        types.SetAt(G("结构工程"), std::string());
        return types;
    }

    static std::shared_ptr<const CCadColorTable> Colours() {
        return LoadColorTable(JoinPath(QUARRANT_SOURCE_DIR, "programfolder")).ValueOr(nullptr);
    }

    static QString FsName(const std::string& gbkPath) {
        return QString::fromStdString(FsPath(gbkPath).string());
    }

private slots:
    void newProjectRefusesEmptyFieldsAndStaysOpen() {
        TempFolder work;
        MessageRecorder messages;
        CNewProjectDlg dialog(ProjectTypes());
        QCOMPARE(dialog.TypeCombo()->count(), 1);
        QCOMPARE(dialog.TypeCombo()->currentIndex(), -1);  // nothing chosen at first
        QVERIFY(!dialog.TypeCombo()->isEditable());
        dialog.NameEdit()->setText(Q("厂房"));
        dialog.PathEdit()->setText(FsName(work.Path()));
        dialog.accept();  // no type yet
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Rejected));
        QCOMPARE(messages.texts,
                 std::vector<std::string>{"工程路径、工程类型和工程名称不能为空！"});
        QVERIFY(!Exists(work.Path(G("厂房"))));

        dialog.TypeCombo()->setCurrentIndex(0);
        dialog.accept();
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
        QVERIFY(Exists(work.Path(G("厂房"))));
        QCOMPARE(GbkToUtf8(dialog.Type()), std::string("结构工程"));
        QCOMPARE(GbkToUtf8(dialog.Name()), std::string("厂房"));
    }

    void newProjectWhoseFolderExistsIsRefusedAndNothingIsCreated() {
        TempFolder work;
        std::filesystem::create_directory(FsPath(work.Path(G("厂房"))));
        WriteBytes(work.Path(G("厂房/记录.txt")), "keep");
        MessageRecorder messages;
        CNewProjectDlg dialog(ProjectTypes());
        dialog.NameEdit()->setText(Q("厂房"));
        dialog.PathEdit()->setText(FsName(work.Path()));
        dialog.TypeCombo()->setCurrentIndex(0);
        dialog.accept();
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Rejected));
        QCOMPARE(messages.texts, std::vector<std::string>{"创建目录不成功！\n请查看目录是否重名"});
        QVERIFY(!Exists(work.Path(G("厂房/厂房"))));
        QCOMPARE(ReadBytes(work.Path(G("厂房/记录.txt"))), std::string("keep"));
    }

    void cancellingTheFolderBrowserLeavesThePathEditEmpty() {
        DialogScript script;
        CNewProjectDlg newProject(ProjectTypes());
        newProject.PathEdit()->setText(QStringLiteral("/old"));
        script.folderChoice = QStringLiteral("/chosen/folder");
        newProject.BrowseButton()->click();
        QCOMPARE(newProject.PathEdit()->text(), QStringLiteral("/chosen/folder"));
        script.folderChoice.clear();
        newProject.BrowseButton()->click();
        QCOMPARE(newProject.PathEdit()->text(), QString());
        QCOMPARE(script.folderTitles.back(), Q("指定工程的路径"));

        COpenProjectDlg openProject;
        openProject.FolderEdit()->setText(QStringLiteral("/old"));
        openProject.BrowseButton()->click();
        QCOMPARE(openProject.FolderEdit()->text(), QString());
    }

    void openProjectRefusesAnEmptyFolder() {
        MessageRecorder messages;
        COpenProjectDlg dialog;
        dialog.accept();
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Rejected));
        QCOMPARE(messages.texts, std::vector<std::string>{"工程文件夹为空！"});
        dialog.FolderEdit()->setText(QStringLiteral("/work/a"));
        dialog.accept();
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
        QCOMPARE(dialog.Folder(), std::string("/work/a"));
    }

    void choosingPlanADxfFillsTheNamePlanAndShowsThePreviewZoomedToFit() {
        TempFolder work;
        WriteBytes(work.Path("plan.a.dxf"), SmallDxf());
        DialogScript script;
        MessageRecorder messages;
        Project project;
        CAddDrawDlg dialog(project, Colours(), 1.0);
        QCOMPARE(dialog.UnitCombo()->currentText(), QStringLiteral("mm"));
        QCOMPARE(dialog.UnitCombo()->count(), 6);
        QCOMPARE(dialog.ScaleCombo()->currentText(), QStringLiteral("1:1"));
        QVERIFY(dialog.UnitCombo()->isEditable());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        script.fileChoice = FsName(work.Path("plan.a.dxf"));
        dialog.ChooseButton()->click();
        QCOMPARE(script.fileFilters, std::vector<QString>{Q("DXF文件 (*.dxf)")});
        QCOMPARE(dialog.NameEdit()->text(), QStringLiteral("plan"));
        QVERIFY(messages.texts.empty());
        const CCadFile* file = dialog.CadFile();
        QVERIFY(file != nullptr && file->drawing != nullptr);
        QVERIFY(file->drawing->entities.size() >= 2);
        // The drawing is 6000 x 1500: the width decides the scale.
        QWidget* preview = dialog.Preview()->Widget();
        QCOMPARE(preview->objectName(), QStringLiteral("Preview1016"));
        const double width = file->drawing->maxX - file->drawing->minX;
        const double height = file->drawing->maxY - file->drawing->minY;
        QCOMPARE(width, 6000.0);
        QWidget* client = preview->inherits("QAbstractScrollArea")
                              ? static_cast<QAbstractScrollArea*>(preview)->viewport()
                              : preview;
        const double expected =
            std::min((client->width() - 2) / width, (client->height() - 2) / height);
        QVERIFY2(
            std::fabs(dialog.Preview()->Scale() - expected) < 1e-9,
            qPrintable(QStringLiteral("%1 vs %2").arg(dialog.Preview()->Scale()).arg(expected)));

        // A typed name stays when another file is chosen.
        dialog.NameEdit()->setText(Q("一层平面"));
        dialog.ChooseButton()->click();
        QCOMPARE(dialog.NameEdit()->text(), Q("一层平面"));
        dialog.accept();
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
        std::unique_ptr<CCadFile> taken = dialog.TakeCadFile();
        QVERIFY(taken && taken->drawing);
        QVERIFY(dialog.CadFile() == nullptr);
    }

    void addDrawingRefusesInOrderAndKeepsTheDialogOpen() {
        TempFolder work;
        WriteBytes(work.Path("roof.dxf"), SmallDxf());
        DialogScript script;
        MessageRecorder messages;
        Project project;
        auto existing = std::make_unique<Drawing>(&project);
        existing->drawingName = G("屋架");
        project.drawings.push_back(std::move(existing));
        Project other;

        CAddDrawDlg dialog(project, Colours(), 1.0);
        dialog.accept();
        dialog.NameEdit()->setText(Q("屋架"));
        script.fileChoice = FsName(work.Path("roof.dxf"));
        dialog.ChooseButton()->click();
        dialog.accept();
        dialog.NameEdit()->setText(Q("屋架二"));
        dialog.UnitCombo()->setEditText(QString());
        dialog.accept();
        dialog.UnitCombo()->setEditText(QStringLiteral("mm"));
        dialog.ScaleCombo()->setEditText(QStringLiteral("100"));
        dialog.accept();
        dialog.ScaleCombo()->setEditText(QStringLiteral("1:0"));
        dialog.accept();
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Rejected));
        QCOMPARE(messages.texts, (std::vector<std::string>{
                                     "请添加图纸！", "图纸名称已存在，请重新输入一个图纸名称！",
                                     "图纸名称、图纸单位、图纸比例尺不能为空！",
                                     "图纸比例尺应为两个正数以“:”相连，例如1:100！",
                                     "图纸比例尺应为两个正数以“:”相连，例如1:100！"}));
        dialog.ScaleCombo()->setEditText(QStringLiteral("1:100"));
        dialog.accept();
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
        QCOMPARE(dialog.Scale(), std::string("1:100"));

        // The same name in another project is accepted.
        CAddDrawDlg second(other, Colours(), 1.0);
        second.NameEdit()->setText(Q("屋架"));
        second.ChooseButton()->click();
        second.accept();
        QCOMPARE(second.result(), static_cast<int>(QDialog::Accepted));
    }

    void aFileThatFailsToImportCountsAsNoneChosen() {
        TempFolder work;
        WriteBytes(work.Path("broken.dxf"), "999\ncomment\n0\nSECTION\n");
        DialogScript script;
        MessageRecorder messages;
        Project project;
        CAddDrawDlg dialog(project, Colours(), 1.0);
        script.fileChoice = FsName(work.Path("broken.dxf"));
        dialog.ChooseButton()->click();
        QCOMPARE(messages.texts, (std::vector<std::string>{"文件格式错误", "解码失败"}));
        QCOMPARE(dialog.NameEdit()->text(), QStringLiteral("broken"));
        dialog.accept();
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Rejected));
        QCOMPARE(messages.texts.back(), std::string("请添加图纸！"));
    }

    void aScaleThatDisagreesWithTheDimensionsIsAddedOnlyWhenConfirmed() {
        // Millimetres declared; three dimensions show 6000 over 60 units: 100:1 in mm.
        std::string dxf =
            "0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n70\n4\n0\nENDSEC\n"
            "0\nSECTION\n2\nENTITIES\n";
        for (int i = 0; i < 3; ++i) {
            std::string y = std::to_string(10 * i);
            dxf +=
                "0\nDIMENSION\n8\n0\n70\n1\n1\n6000\n13\n0\n23\n" + y + "\n14\n60\n24\n" + y + "\n";
        }
        dxf += "0\nENDSEC\n0\nEOF\n";
        TempFolder work;
        WriteBytes(work.Path("hall.dxf"), dxf);
        DialogScript script;
        Project project;
        CAddDrawDlg dialog(project, Colours(), 1.0);
        dialog.UnitCombo()->setCurrentText(QStringLiteral("m"));
        script.fileChoice = FsName(work.Path("hall.dxf"));
        dialog.ChooseButton()->click();
        QCOMPARE(dialog.Unit(), std::string("mm"));
        QCOMPARE(dialog.ScaleHint()->text(),
                 Q("图中3处尺寸标注中有3处表明：单位mm时比例应为100:1"));
        dialog.UnitCombo()->setCurrentText(QStringLiteral("cm"));
        QCOMPARE(dialog.ScaleHint()->text(), Q("图中3处尺寸标注中有3处表明：单位cm时比例应为10:1"));

        QString asked;
        auto answer = [&asked](int button) {
            return [&asked, button](QDialog& box) {
                asked = static_cast<QMessageBox&>(box).text();
                return button;
            };
        };
        script.answers[QStringLiteral("QuestionBox")] = answer(QMessageBox::No);
        dialog.accept();
        QCOMPARE(asked, Q("所选单位和比例与图中尺寸标注不符（应为10:1），仍然添加吗？"));
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Rejected));
        script.answers[QStringLiteral("QuestionBox")] = answer(QMessageBox::Yes);
        dialog.accept();
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));

        // A scale that agrees is added without a question.
        CAddDrawDlg agreeing(project, Colours(), 1.0);
        agreeing.ChooseButton()->click();
        agreeing.ScaleCombo()->setEditText(QStringLiteral("100:1"));
        agreeing.accept();
        QCOMPARE(agreeing.result(), static_cast<int>(QDialog::Accepted));
        QCOMPARE(script.Count(QStringLiteral("QuestionBox")), 2);
    }

    void cancellingTheFileChooserKeepsTheEarlierImport() {
        TempFolder work;
        WriteBytes(work.Path("roof.dxf"), SmallDxf());
        DialogScript script;
        Project project;
        CAddDrawDlg dialog(project, Colours(), 1.0);
        script.fileChoice = FsName(work.Path("roof.dxf"));
        dialog.ChooseButton()->click();
        const CCadFile* first = dialog.CadFile();
        script.fileChoice.clear();
        dialog.ChooseButton()->click();
        QCOMPARE(dialog.CadFile(), first);
    }

    void settingsShowPercentFAndWriteTheTypedTextsInForceAtOnce() {
        TempFolder program;
        Settings settings;
        settings.programFolder = program.Path();
        settings.coordinatePrecision = 0.5f;
        settings.lineAnglePrecision = 0.01f;
        MessageList messages;
        CSetDlg dialog(settings, messages);
        QCOMPARE(dialog.CoordinateEdit()->text(), QStringLiteral("0.500000"));
        QCOMPARE(dialog.AngleEdit()->text(), QStringLiteral("0.010000"));

        dialog.CoordinateEdit()->setText(QStringLiteral("0.5"));
        dialog.AngleEdit()->setText(QStringLiteral("0.01"));
        dialog.accept();
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
        QCOMPARE(ReadBytes(program.Path("Set.ini")), std::string("0.5\r\n0.01\r\n"));
        QCOMPARE(settings.coordinatePrecision, 0.5f);
        QCOMPARE(settings.lineAnglePrecision, 0.01f);

        CSetDlg again(settings, messages);
        again.CoordinateEdit()->setText(QStringLiteral("2"));
        again.AngleEdit()->setText(QStringLiteral("0.0175"));
        again.accept();
        QCOMPARE(settings.coordinatePrecision, 2.0f);
        QCOMPARE(settings.lineAnglePrecision, 0.0175f);
        QCOMPARE(ReadBytes(program.Path("Set.ini")), std::string("2\r\n0.0175\r\n"));
        QVERIFY(messages.Messages().empty());
    }

    void cancellingTheSettingsChangesNothing() {
        TempFolder program;
        WriteBytes(program.Path("Set.ini"), "1\r\n0.01\r\n");
        Settings settings;
        settings.programFolder = program.Path();
        MessageList messages;
        CSetDlg dialog(settings, messages);
        dialog.CoordinateEdit()->setText(QStringLiteral("9"));
        dialog.reject();
        QCOMPARE(settings.coordinatePrecision, kDefaultCoordinatePrecision);
        QCOMPARE(ReadBytes(program.Path("Set.ini")), std::string("1\r\n0.01\r\n"));
    }
};

QUARRANT_APP_TEST_MAIN(DialogTest)
#include "DialogTest.moc"
