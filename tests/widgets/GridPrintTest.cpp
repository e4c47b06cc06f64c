// The grid's printing on the offscreen platform: pages with header and footer, and the print
// dialog, answered through the modal-dialog seam.

#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "GridTestSupport.h"
#include "controls/widgets/GridCtrl.h"
#include "platform/ModalDialog.h"

using namespace quarrant;

class GridPrintTest : public QObject {
    Q_OBJECT

private:
    MessageRecorder* m_window = nullptr;
    CGridCtrl* m_grid = nullptr;

private slots:
    void init() {
        m_window = new MessageRecorder;
        m_window->setWindowTitle(QStringLiteral("Steel quantities"));
        m_window->resize(500, 300);
        m_grid = new CGridCtrl(4, 4, 1, 1);
        m_grid->Create(QRect(0, 0, 500, 300), m_window, 7);
        m_window->grid = m_grid;
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }

    void cleanup() {
        SetModalHandler({});
        delete m_window;
    }

    void printingToAPdfFileGivesHeaderFooterAndPages() {
        QTemporaryDir dir;
        m_grid->SetRowCount(300);
        for (int row = 1; row < 300; ++row) {
            m_grid->SetItemText(row, 1, "row " + std::to_string(row));
        }
        m_grid->MergeCells(2, 1, 3, 2);
        QCOMPARE(m_grid->PrintHeaderTitle(), QStringLiteral("Steel quantities"));
        QCOMPARE(CGridCtrl::PrintFooterPageText(2, 7), QStringLiteral("Page 2 of 7"));
        QVERIFY(QRegularExpression(
                    QStringLiteral("^\\w{3} \\w{3} [ \\d]\\d \\d\\d:\\d\\d:\\d\\d \\d{4}$"))
                    .match(CGridCtrl::PrintDateTimeText())
                    .hasMatch());

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString file = dir.filePath(QStringLiteral("grid.pdf"));
        printer.setOutputFileName(file);
        const int pages = m_grid->Print(&printer);
        QVERIFY(pages > 1);
        QFile pdf(file);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray content = pdf.readAll();
        QVERIFY(content.startsWith("%PDF"));
        QCOMPARE(static_cast<int>(content.count("/Type /Page\n")), pages);

        // Wider margins leave less room for rows: at least as many pages.
        m_grid->SetPrintMarginInfo(6, 6, -1, -1, 4, 4, 2);
        int values[7];
        m_grid->GetPrintMarginInfo(values[0], values[1], values[2], values[3], values[4], values[5],
                                   values[6]);
        QCOMPARE(values[2], 4);
        QPrinter second(QPrinter::HighResolution);
        second.setOutputFormat(QPrinter::PdfFormat);
        second.setOutputFileName(dir.filePath(QStringLiteral("second.pdf")));
        QVERIFY(m_grid->Print(&second) >= pages);
    }

    void anEmptyGridPrintsOnePage() {
        QTemporaryDir dir;
        CGridCtrl grid;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("empty.pdf")));
        QCOMPARE(grid.Print(&printer), 1);
    }

    void withoutAPrinterThePrintDialogChoosesOneOrCancels() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("chosen.pdf"));
        int asked = 0;
        SetModalHandler([&](QDialog& dialog) {
            ++asked;
            auto* print = qobject_cast<QPrintDialog*>(&dialog);
            if (print == nullptr) {
                return static_cast<int>(QDialog::Rejected);
            }
            print->printer()->setOutputFormat(QPrinter::PdfFormat);
            print->printer()->setOutputFileName(file);
            return static_cast<int>(QDialog::Accepted);
        });
        QCOMPARE(m_grid->Print(), 1);
        QCOMPARE(asked, 1);
        QVERIFY(QFile::exists(file));

        SetModalHandler([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
        QCOMPARE(m_grid->Print(), 0);
    }
};

QTEST_MAIN(GridPrintTest)
#include "GridPrintTest.moc"
