// The report windows end to end: opened from the project manager with their tree and table,
// narrowed by the tree, previewed (pages, zoom, dragging a border), printed to a PDF file and
// exported to Excel. With QUARRANT_SCREENSHOT_DIR set, the window, the preview and the files
// are also saved there.

#include <QAction>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QToolBar>
#include <QTreeWidget>

#include "../reports/ReportTestSupport.h"
#include "AppWindowFixture.h"
#include "app/widgets/MainFrame.h"
#include "app/widgets/QuarrantApp.h"
#include "controls/widgets/GridCtrl.h"
#include "platform/CommandActions.h"
#include "platform/CommandTables.h"
#include "platform/QtText.h"
#include "project/widgets/ManageFrame.h"
#include "project/widgets/ManageTreeView.h"
#include "reports/widgets/EditTableView.h"
#include "reports/widgets/HuizongTreeView.h"
#include "reports/widgets/MappedBitmapButton.h"
#include "reports/widgets/MyPreviewView.h"
#include "reports/widgets/PreviewBar.h"
#include "reports/widgets/TableFrame.h"

using namespace quarrant;
using namespace quarrant::apptest;

class ReportWindowTest : public QObject {
    Q_OBJECT

private:
    struct Fixture : AppRun {
        CManageTreeView* tree = nullptr;

        // A project with the sample rows, or with the rows fill makes.
        explicit Fixture(const std::function<void(QuantityTable&)>& fill = {}) {
            std::string listed =
                fill ? SavedProject(work, "空名工程", scratch)
                     : reporttest::SavedSampleProject(work.Path(), "钢结构厂房", scratch.Path());
            if (fill) {
                MessageList loadMessages;
                ProjectManager maker(loadMessages);
                maker.SetProgramFolder(scratch.Path());
                std::unique_ptr<Project> project = std::move(maker.LoadProject(listed)).Value();
                fill(project->dataTable);
                maker.SaveProject(*project);
            }
            script.answers[QStringLiteral("ProgressDlg")] = [](QDialog& dialog) {
                return RunUntilClosed(dialog);
            };
            StartWith(listed);
            for (QMdiSubWindow* frame : app->MainFrame()->MdiArea()->subWindowList()) {
                if (auto* manage = qobject_cast<CManageFrame*>(frame->widget())) {
                    tree = manage->TreeView();
                }
            }
        }

        // Opens the report node as a double click in the project manager does.
        CTableFrame* Open(QuantityTable& table) {
            tree->OpenNodeWindow(app->Manager().FindNode(table.treeItem));
            QMdiSubWindow* frame = app->Templates().Find(kTableDocType)->FindFrame(&table);
            return frame != nullptr ? qobject_cast<CTableFrame*>(frame->widget()) : nullptr;
        }

        bool Enabled(int id) const {
            QAction* action = app->MainFrame()->Actions().Find(id);
            return action != nullptr && action->isEnabled();
        }
    };

    static QString ShotFolder() {
        return QString::fromLocal8Bit(qgetenv("QUARRANT_SCREENSHOT_DIR"));
    }

    static void Keep(const QImage& image, const QString& name) {
        if (!ShotFolder().isEmpty()) {
            image.save(QDir(ShotFolder()).filePath(name));
        }
    }

    static void Move(QWidget* widget, const QPoint& point, Qt::MouseButtons buttons) {
        QMouseEvent move(QEvent::MouseMove, point, widget->mapToGlobal(point), Qt::NoButton,
                         buttons, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }

    static int PdfPages(const std::string& bytes) {
        int pages = 0;
        for (std::size_t at = bytes.find("/Type /Page"); at != std::string::npos;
             at = bytes.find("/Type /Page", at + 1)) {
            pages += bytes.compare(at, 12, "/Type /Pages") == 0 ? 0 : 1;
        }
        return pages;
    }

private slots:
    void eachReportOpensOnceWithItsTreeAndTable() {
        Fixture f;
        struct Case {
            QuantityTable* table;
            const char* root;
            int children;
            int gridRows;
        };
        Project& project = f.TheProject();
        const Case cases[] = {
            {&project.summaryTable, "项目名称", 7, 8},
            {&project.materialTable, "材料名称", 4, 5},
            {&project.detailTable, "项目名称", 7, 87},
        };
        int windows = f.app->OpenWindows();
        for (const Case& c : cases) {
            const int progressShown = f.script.Count(QStringLiteral("ProgressDlg"));
            CTableFrame* frame = f.Open(*c.table);
            QVERIFY(frame != nullptr);
            QCOMPARE(f.app->OpenWindows(), ++windows);
            QCOMPARE(f.app->MainFrame()->VisibleToolBar(), kToolBarReport);
            QCOMPARE(f.script.Count(QStringLiteral("ProgressDlg")), progressShown + 1);
            QTreeWidgetItem* root = frame->TreeView()->Root();
            QVERIFY(root != nullptr);
            QCOMPARE(root->text(0), Q(c.root));
            QCOMPARE(root->childCount(), c.children);
            QCOMPARE(frame->TableView()->Grid()->GetRowCount(), c.gridRows);
            QCOMPARE(frame->parentWidget()->windowTitle(), ToQt(c.table->displayName));
            QVERIFY(f.Enabled(kCmdPrintPreview));
            QVERIFY(!f.Enabled(kCmdNextPage));
            QVERIFY(!f.Enabled(kCmdReportAbout));

            QCOMPARE(f.Open(*c.table), frame);  // raised, not opened again
            QCOMPARE(f.app->OpenWindows(), windows);
        }
        Keep(f.app->MainFrame()->grab().toImage(), QStringLiteral("report-window.png"));
        QVERIFY(f.messages.texts.empty());
    }

    void selectingANameNarrowsTheTableAndTheRootRestoresIt() {
        Fixture f;
        CTableFrame* frame = f.Open(f.TheProject().summaryTable);
        QVERIFY(frame != nullptr);
        CGridCtrl* grid = frame->TableView()->Grid();
        QTreeWidgetItem* root = frame->TreeView()->Root();
        QTreeWidgetItem* beams = nullptr;
        for (int i = 0; i < root->childCount(); ++i) {
            if (root->child(i)->text(0) == Q("钢梁GL-1")) {
                beams = root->child(i);
            }
        }
        QVERIFY(beams != nullptr);
        frame->TreeView()->setCurrentItem(beams);
        QCOMPARE(grid->GetRowCount(), 2);
        QCOMPARE(grid->GetItemText(1, 0), std::string("1"));
        QCOMPARE(grid->GetItemText(1, 3), std::string("55.000"));
        frame->TreeView()->setCurrentItem(root);
        QCOMPARE(grid->GetRowCount(), 8);
        QCOMPARE(frame->TableView()->BuildCount(), 3);
    }

    void aProjectWhoseNamesAreAllEmptyShowsOnlyTheRoot() {
        Fixture f([](QuantityTable& table) {
            QuantityRow& row = reporttest::AddRow(table, "", "1");
            reporttest::AddComponent(table, row, "", "2");
        });
        for (QuantityTable* table : {&f.TheProject().summaryTable, &f.TheProject().materialTable}) {
            CTableFrame* frame = f.Open(*table);
            QVERIFY(frame != nullptr);
            QCOMPARE(frame->TreeView()->topLevelItemCount(), 1);
            QCOMPARE(frame->TreeView()->Root()->childCount(), 0);
        }
    }

    void previewPrintsAndExportsEveryReport() {
        Fixture f;
        const QString folder = ShotFolder().isEmpty()
                                   ? QString::fromStdString(FsPath(f.work.Path()).string())
                                   : ShotFolder();
        Project& project = f.TheProject();
        for (QuantityTable* table :
             {&project.summaryTable, &project.materialTable, &project.detailTable}) {
            CTableFrame* frame = f.Open(*table);
            QVERIFY(frame != nullptr);
            const bool detail = table == &project.detailTable;
            const QString name = detail                           ? QStringLiteral("detail")
                                 : table == &project.summaryTable ? QStringLiteral("summary")
                                                                  : QStringLiteral("material");
            f.app->MainFrame()->OnCommand(kCmdPrintPreview);
            CMyPreviewView* preview = frame->Preview();
            QVERIFY(preview != nullptr);
            QVERIFY(!f.Enabled(kCmdPrintPreview));
            QVERIFY(f.Enabled(kCmdClosePreview));
            QVERIFY(f.Enabled(kCmdZoomInPage));
            QVERIFY(!f.Enabled(kCmdZoomOutPage));
            const int pages = preview->Layout().PageCount();
            QCOMPARE(pages > 1, detail);
            QCOMPARE(f.Enabled(kCmdNextPage), detail);
            QVERIFY(!f.Enabled(kCmdPreviousPage));
            QCOMPARE(frame->PreviewBar()->Button(kCmdPreviewNext)->isEnabled(), detail);
            QCOMPARE(frame->PreviewBar()->Button(kCmdPreviewNext)->CurrentImage(), detail ? 0 : 3);
            // The scaled widths are in the report grid now.
            int sum = 0;
            for (int col = 0; col < frame->TableView()->Grid()->GetColumnCount(); ++col) {
                sum += frame->TableView()->Grid()->GetColumnWidth(col);
            }
            QCOMPARE(sum, preview->Geometry().contentWidth);
            Keep(frame->grab().toImage(), QStringLiteral("preview-%1.png").arg(name));

            // Drag the border between columns 1 and 2 by 20 units to the right.
            const int before = frame->TableView()->Grid()->GetColumnWidth(1);
            const double border = preview->Layout().BorderPosition({DragMode::kColumn, 1}, 1);
            const QPoint press = preview->ToViewport(QPointF(border, 200)).toPoint();
            const QPoint release = preview->ToViewport(QPointF(border + 20, 200)).toPoint();
            Move(preview->viewport(), press, Qt::NoButton);
            QCOMPARE(preview->HoverTarget().mode, DragMode::kColumn);
            QTest::mousePress(preview->viewport(), Qt::LeftButton, {}, press);
            Move(preview->viewport(), release, Qt::LeftButton);
            QTest::mouseRelease(preview->viewport(), Qt::LeftButton, {}, release);
            const int after = frame->TableView()->Grid()->GetColumnWidth(1);
            QVERIFY2(std::abs(after - before - 20) <= 1,
                     qPrintable(QString::number(after - before)));
            // The new widths stay in the grid; the preview opened again fits the texts to them.
            f.app->MainFrame()->OnCommand(kCmdClosePreview);
            QVERIFY(frame->Preview() == nullptr);
            QVERIFY(f.Enabled(kCmdPrintPreview));
            QCOMPARE(frame->TableView()->Grid()->GetColumnWidth(1), after);
            f.app->MainFrame()->OnCommand(kCmdPrintPreview);
            preview = frame->Preview();
            QVERIFY(preview != nullptr);
            QCOMPARE(frame->TableView()->Grid()->GetColumnWidth(1), after);
            const int pagesNow = preview->Layout().PageCount();

            if (detail) {
                f.app->MainFrame()->OnCommand(kCmdNextPage);
                QCOMPARE(preview->State().Page(), 2);
                QVERIFY(f.Enabled(kCmdPreviousPage));
                Keep(frame->grab().toImage(), QStringLiteral("preview-detail-page2.png"));
                f.app->MainFrame()->OnCommand(kCmdZoomInPage);
                QVERIFY(f.Enabled(kCmdZoomOutPage));
            }

            // 导出PDF… without a dialog, and 打印 through the print dialog into a file.
            const QString pdf = QDir(folder).filePath(name + QStringLiteral(".pdf"));
            SetSaveFileHandler([&](const QString&, const QString&) { return pdf; });
            frame->OnCommand(kCmdExportPdf);
            const std::string pdfBytes = ReadBytes(FromQt(pdf));
            QCOMPARE(pdfBytes.substr(0, 5), std::string("%PDF-"));
            QCOMPARE(PdfPages(pdfBytes), pagesNow);

            const QString printed = QDir(folder).filePath(name + QStringLiteral("-printed.pdf"));
            f.script.answers[QStringLiteral("PrintDialog")] = [&](QDialog& dialog) {
                QPrinter* printer = static_cast<QPrintDialog&>(dialog).printer();
                printer->setOutputFormat(QPrinter::PdfFormat);
                printer->setOutputFileName(printed);
                return static_cast<int>(QDialog::Accepted);
            };
            f.app->MainFrame()->OnCommand(kCmdPrint);
            QCOMPARE(PdfPages(ReadBytes(FromQt(printed))), pagesNow);

            const QString xlsx = QDir(folder).filePath(name + QStringLiteral(".xlsx"));
            SetSaveFileHandler([&](const QString&, const QString&) { return xlsx; });
            f.app->MainFrame()->OnCommand(kCmdExportExcel);
            QCOMPARE(ReadBytes(FromQt(xlsx)).substr(0, 2), std::string("PK"));
            SetSaveFileHandler({});

            f.app->MainFrame()->OnCommand(kCmdClosePreview);
            QVERIFY(frame->Preview() == nullptr);
        }
        QVERIFY2(f.messages.texts.empty(),
                 f.messages.texts.empty() ? "" : f.messages.texts.front().c_str());
    }

    void closingTheLastChildBringsBackTheMainToolBar() {
        Fixture f;
        QVERIFY(f.Open(f.TheProject().summaryTable) != nullptr);
        QCOMPARE(f.app->MainFrame()->VisibleToolBar(), kToolBarReport);
        f.app->MainFrame()->MdiArea()->closeAllSubWindows();
        QTRY_COMPARE(f.app->OpenWindows(), 0);
        QCOMPARE(f.app->MainFrame()->VisibleToolBar(), kToolBarNoChild);
    }

    void mappedButtonsTakeTheDesktopColours() {
        CMappedBitmapButton button;
        QVERIFY(button.LoadBitmap(kCmdPreviewPrint));
        QCOMPARE(button.ImageCount(), 4);
        QPalette dark = button.palette();
        dark.setColor(QPalette::Button, QColor(40, 40, 40));
        button.setPalette(dark);
        QCOMPARE(button.Image(0).pixel(10, 1), QColor(40, 40, 40).rgb());
        QVERIFY(!button.LoadBitmap(1));
        QCOMPARE(button.BitmapResource(), -1);
    }
};

QUARRANT_APP_TEST_MAIN(ReportWindowTest)
#include "ReportWindowTest.moc"
