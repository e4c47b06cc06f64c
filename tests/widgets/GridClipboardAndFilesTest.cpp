// The grid's clipboard commands and delimited text files, on the offscreen platform.

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "GridTestSupport.h"
#include "base/FileIO.h"
#include "base/GbkText.h"
#include "controls/widgets/GridCtrl.h"
#include "controls/widgets/ShowMessage.h"

using namespace quarrant;

// A grid whose validation refuses the text "no" and remembers what it was asked.
class PasteGrid : public CGridCtrl {
public:
    using CGridCtrl::CGridCtrl;
    std::vector<std::string> validated;
    bool ValidateEdit(int, int, const std::string& text) override {
        validated.push_back(text);
        return text != "no";
    }
};

class GridClipboardAndFilesTest : public QObject {
    Q_OBJECT

private:
    MessageRecorder* m_window = nullptr;
    PasteGrid* m_grid = nullptr;
    std::vector<std::string> m_shown;
    MessageHandler m_previous;

    std::string Path(const QTemporaryDir& dir, const char* name) {
        return FromUtf8(dir.filePath(QString::fromUtf8(name)));
    }
    static std::string FromUtf8(const QString& text) { return Utf8ToGbk(text.toStdString()); }

private slots:
    void init() {
        m_shown.clear();
        m_previous =
            SetMessageHandler([this](const std::string& text) { m_shown.push_back(text); });
        m_window = new MessageRecorder;
        m_window->setWindowTitle(QStringLiteral("Steel quantities"));
        m_window->resize(500, 300);
        m_grid = new PasteGrid(4, 4, 1, 1);
        m_grid->Create(QRect(0, 0, 500, 300), m_window, 7);
        m_window->grid = m_grid;
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        m_grid->setFocus();
    }

    void cleanup() {
        delete m_window;
        SetMessageHandler(m_previous);
    }

    void copyingATwoByTwoSelectionPutsTabsAndALineFeedOnTheClipboard() {
        m_grid->SetItemText(1, 1, "x");
        m_grid->SetItemText(1, 2, "y");
        m_grid->SetItemText(2, 1, "z");
        m_grid->SetItemText(2, 2, Utf8ToGbk(u8"钢"));
        m_grid->SetSelectedRange(1, 1, 2, 2);
        QCOMPARE(m_grid->CopyTextFromGrid(), "x\ty\nz\t" + Utf8ToGbk(u8"钢"));
        QTest::keyClick(m_grid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QString::fromUtf8("x\ty\nz\t\xE9\x92\xA2"));
    }

    void pastingAtTheSelectionFillsRightAndDownAndSelectsTheBlock() {
        m_grid->SetSelectedRange(1, 1, 1, 1);
        QApplication::clipboard()->setText(QStringLiteral("a,b\nc"));
        QTest::keyClick(m_grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(m_grid->GetItemText(1, 1), std::string("a"));
        QCOMPARE(m_grid->GetItemText(1, 2), std::string("b"));
        QCOMPARE(m_grid->GetItemText(2, 1), std::string("c"));
        QCOMPARE(m_grid->GetSelectedCellRange(), CCellRange(1, 1, 2, 2));
        QVERIFY(m_grid->GetModified(1, 2));
        QCOMPARE(m_grid->validated, (std::vector<std::string>{"a", "b", "c"}));
    }

    void pasteGoesToTheFocusCellWithoutASelection() {
        m_grid->SetFocusCell(2, 2);
        QApplication::clipboard()->setText(QString::fromUtf8(" \xE6\xA2\x81 \t9\r\n"));
        m_grid->OnEditPaste();
        QCOMPARE(m_grid->GetItemText(2, 2), Utf8ToGbk(u8"梁"));
        QCOMPARE(m_grid->GetItemText(2, 3), std::string("9"));
        QCOMPARE(m_grid->GetItemText(3, 2), std::string(""));
    }

    void pasteGoesToTheTopLeftVisibleCellWithoutAFocusCell() {
        QApplication::clipboard()->setText(QStringLiteral("p"));
        m_grid->OnEditPaste();
        QCOMPARE(m_grid->GetItemText(1, 1), std::string("p"));
    }

    void pasteChangesNothingInAReadOnlyTargetOrANonEditableGrid() {
        QApplication::clipboard()->setText(QStringLiteral("p"));
        m_grid->SetItemState(1, 1, kCellReadOnly);
        m_grid->SetFocusCell(1, 1);
        m_grid->OnEditPaste();
        QCOMPARE(m_grid->GetItemText(1, 1), std::string());
        m_grid->SetItemState(1, 1, 0);
        m_grid->SetEditable(false);
        m_grid->OnEditPaste();
        QCOMPARE(m_grid->GetItemText(1, 1), std::string());
        QVERIFY(m_grid->validated.empty());
    }

    void aRefusedPastedFieldLeavesTheCell() {
        m_grid->SetItemText(1, 2, "old");
        QVERIFY(m_grid->PasteTextToGrid(CCellID(1, 1), "yes,no"));
        QCOMPARE(m_grid->GetItemText(1, 1), std::string("yes"));
        QCOMPARE(m_grid->GetItemText(1, 2), std::string("old"));
        QVERIFY(!m_grid->GetModified(1, 2));
    }

    void cutCopiesAndClears() {
        m_grid->SetItemText(1, 1, "cut me");
        m_grid->SetSelectedRange(1, 1, 1, 1);
        QTest::keyClick(m_grid, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("cut me"));
        QCOMPARE(m_grid->GetItemText(1, 1), std::string());
    }

    void saveWritesEveryRowAsALineAndLoadReadsItBack() {
        QTemporaryDir dir;
        CGridCtrl grid(2, 3, 1, 0);
        grid.SetItemText(0, 0, "a");
        grid.SetItemText(0, 1, "b");
        grid.SetItemText(0, 2, Utf8ToGbk(u8"长度"));
        grid.SetItemText(1, 0, "1");
        grid.SetItemText(1, 2, "3");
        const std::string path = Path(dir, "grid.txt");
        QVERIFY(grid.Save(path, ','));
        QFile file(dir.filePath(QStringLiteral("grid.txt")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes, QByteArray("a,b,") + QByteArray::fromStdString(Utf8ToGbk(u8"长度")) +
                            QByteArray("\r\n1,,3\r\n"));

        CGridCtrl loaded;
        QVERIFY(loaded.Load(path, ','));
        QCOMPARE(loaded.GetColumnCount(), 3);
        QCOMPARE(loaded.GetRowCount(), 2);
        QCOMPARE(loaded.GetItemText(0, 2), Utf8ToGbk(u8"长度"));
        QCOMPARE(loaded.GetItemText(1, 0), std::string("1"));
        QCOMPARE(loaded.GetItemText(1, 2), std::string("3"));
        QVERIFY(loaded.GetModified(1, 0));
        // Columns are sized to their texts.
        const QFontMetrics metrics(loaded.font());
        QVERIFY(loaded.GetColumnWidth(2) >
                metrics.horizontalAdvance(QString::fromUtf8("\xE9\x95\xBF\xE5\xBA\xA6")));
        QVERIFY(m_shown.empty());
    }

    void fileErrorsAreReportedWithTheirMessages() {
        QTemporaryDir dir;
        CGridCtrl grid(1, 1);
        const std::string missingFolder = Path(dir, "no/such/folder/grid.txt");
        QVERIFY(!grid.Save(missingFolder, ','));
        QCOMPARE(m_shown.back(), FileOpenErrorMessage(missingFolder));
        const std::string missingFile = Path(dir, "missing.txt");
        QVERIFY(!grid.Load(missingFile, ','));
        QCOMPARE(m_shown.back(), FileOpenErrorMessage(missingFile));
        QCOMPARE(grid.GetRowCount(), 1);  // nothing was touched
        QVERIFY(!grid.Load(FromUtf8(dir.path()), ','));
        QCOMPARE(m_shown.back(), std::string("Unable to load grid data"));
    }
};

QTEST_MAIN(GridClipboardAndFilesTest)
#include "GridClipboardAndFilesTest.moc"
