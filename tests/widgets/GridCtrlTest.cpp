// The grid widget on the offscreen platform: in-place editing with its messages, mouse and
// keyboard selection, merged cells, the right-button message, wheel scrolling, drawing and the
// hand-over of a model filled by a worker thread.

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <thread>

#include "GridTestSupport.h"
#include "base/GbkText.h"
#include "controls/widgets/GridCtrl.h"

using namespace quarrant;

// A grid whose validation refuses texts starting with "bad".
class CheckingGrid : public CGridCtrl {
public:
    using CGridCtrl::CGridCtrl;
    std::vector<std::string> validated;
    bool ValidateEdit(int, int, const std::string& text) override {
        validated.push_back(text);
        return text.rfind("bad", 0) != 0;
    }
};

class GridCtrlTest : public QObject {
    Q_OBJECT

private:
    MessageRecorder* m_window = nullptr;
    CheckingGrid* m_grid = nullptr;

    QPoint CellCenter(int row, int col) const {
        QRect rect;
        m_grid->GetCellRect(row, col, rect);
        return rect.center();
    }
    QLineEdit* Editor() const { return qobject_cast<QLineEdit*>(m_grid->GetEditWnd()); }
    void Type(QWidget* target, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QApplication::sendEvent(target, &press);
    }

private slots:
    void init() {
        m_window = new MessageRecorder;
        m_window->resize(600, 400);
        m_grid = new CheckingGrid(6, 5, 1, 1);
        m_grid->Create(QRect(0, 0, 600, 400), m_window, 1031);
        m_window->grid = m_grid;
        for (int row = 1; row < 6; ++row) {
            for (int col = 1; col < 5; ++col) {
                m_grid->SetItemText(row, col,
                                    "r" + std::to_string(row) + "c" + std::to_string(col));
            }
        }
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        m_window->activateWindow();
        m_grid->setFocus();
        m_grid->SetFocusCell(2, 2);
    }

    void cleanup() {
        delete m_window;
        m_window = nullptr;
        m_grid = nullptr;
    }

    void defaultMetricsComeFromTheFont() {
        const QFontMetrics metrics(m_grid->font());
        const GridMetrics grid = m_grid->Model().Metrics();
        QCOMPARE(grid.margin, metrics.horizontalAdvance(QLatin1Char(' ')));
        QCOMPARE(grid.columnWidth, metrics.horizontalAdvance(QStringLiteral(" XXXXXXXXXXXX ")));
        QCOMPARE(grid.rowHeight, metrics.height() * 3 / 2);
        QCOMPARE(m_grid->GetColumnWidth(3), grid.columnWidth);
        QCOMPARE(m_grid->GetRowHeight(3), grid.rowHeight);
    }

    void insertRowAppendsWithTheDefaultHeightOrTheHeadingsHeight() {
        CGridCtrl grid(3, 2);
        QCOMPARE(grid.InsertRow("", -1), 3);
        QCOMPARE(grid.GetRowHeight(3), grid.Model().Metrics().rowHeight);
        QCOMPARE(grid.InsertRow("x", -1), 4);
        QCOMPARE(grid.GetRowHeight(4), QFontMetrics(grid.font()).height());
        CGridCtrl fixed(1, 2, 1, 0);
        QCOMPARE(fixed.InsertRow("x", 0), -1);
        CRGridCtrl empty;
        QCOMPARE(empty.GetRowCount(), 0);
        QCOMPARE(empty.GetColumnCount(), 0);
    }

    void doubleClickEditsAndEnterStoresTheText() {
        QTest::mouseDClick(m_grid->viewport(), Qt::LeftButton, {}, CellCenter(2, 3));
        QLineEdit* editor = Editor();
        QVERIFY(editor != nullptr);
        QCOMPARE(editor->text(), QStringLiteral("r2c3"));
        QCOMPARE(editor->cursorPosition(), 4);  // caret at the end
        QTest::keyClicks(editor, "x");
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(!m_grid->IsEditing());
        QCOMPARE(m_grid->GetItemText(2, 3), std::string("r2c3x"));
        QVERIFY(m_grid->GetModified(2, 3));
        // -3 double click, -105 begin edit, -106 end edit, then the end-edit message carrying
        // the stored text.
        QCOMPARE(m_window->Count(WM_NOTIFY, NM_DBLCLK), 1);
        QCOMPARE(m_window->Count(WM_NOTIFY, GVN_BEGINLABELEDIT), 1);
        QCOMPARE(m_window->Count(WM_NOTIFY, GVN_ENDLABELEDIT), 1);
        const RecordedMessage* end = m_window->Last(WM_GRID_ENDEDIT);
        QVERIFY(end != nullptr);
        QCOMPARE(end->row, 2);
        QCOMPARE(end->col, 3);
        QCOMPARE(end->grid, static_cast<const void*>(m_grid));
        QCOMPARE(end->cellText, std::string("r2c3x"));
        QCOMPARE(m_grid->validated, std::vector<std::string>{"r2c3x"});
    }

    void endingAnEditWithoutAChangeSendsOnlyTheEndEditMessage() {
        m_grid->OnEditCell(2, 2, Qt::Key_F2);
        QVERIFY(m_grid->IsEditing());
        QTest::keyClick(Editor(), Qt::Key_Return);
        QCOMPARE(m_window->Count(WM_NOTIFY, GVN_ENDLABELEDIT), 0);
        QCOMPARE(m_window->Count(WM_GRID_ENDEDIT), 1);
        QVERIFY(!m_grid->GetModified(2, 2));
        QVERIFY(m_grid->validated.empty());
    }

    void escapeRestoresTheTextAndStillSendsTheEndEditMessage() {
        m_grid->OnEditCell(2, 2, Qt::Key_F2);
        QTest::keyClicks(Editor(), "zzz");
        QTest::keyClick(Editor(), Qt::Key_Escape);
        QCOMPARE(m_grid->GetItemText(2, 2), std::string("r2c2"));
        QCOMPARE(m_window->Count(WM_NOTIFY, GVN_ENDLABELEDIT), 0);
        QCOMPARE(m_window->Count(WM_GRID_ENDEDIT), 1);
    }

    void aRefusedEditPutsTheOldTextBackAndStillSendsTheEndEditMessage() {
        m_window->answers[GVN_ENDLABELEDIT] = -1;
        m_grid->OnEditCell(2, 2, Qt::Key_F2);
        Editor()->setText(QStringLiteral("new"));
        QTest::keyClick(Editor(), Qt::Key_Return);
        QCOMPARE(m_grid->GetItemText(2, 2), std::string("r2c2"));
        QVERIFY(!m_grid->GetModified(2, 2));
        QCOMPARE(m_window->Count(WM_GRID_ENDEDIT), 1);
        QCOMPARE(m_window->Last(WM_GRID_ENDEDIT)->cellText, std::string("r2c2"));

        m_window->answers.clear();
        m_grid->OnEditCell(2, 2, Qt::Key_F2);
        Editor()->setText(QStringLiteral("bad text"));
        QTest::keyClick(Editor(), Qt::Key_Return);
        QCOMPARE(m_grid->GetItemText(2, 2), std::string("r2c2"));
        // Validation refused: the parent was not asked.
        QCOMPARE(m_window->Count(WM_NOTIFY, GVN_ENDLABELEDIT), 1);
        QCOMPARE(m_window->Count(WM_GRID_ENDEDIT), 2);
    }

    void aNegativeAnswerToBeginEditCancelsTheEdit() {
        m_window->answers[GVN_BEGINLABELEDIT] = -1;
        QTest::keyClick(m_grid, Qt::Key_F2);
        QVERIFY(!m_grid->IsEditing());
        QCOMPARE(m_window->Count(WM_NOTIFY, GVN_BEGINLABELEDIT), 1);
        QCOMPARE(m_window->Count(WM_GRID_ENDEDIT), 0);
    }

    void readOnlyCellsAndNonEditableGridsDoNotEdit() {
        m_grid->SetItemState(2, 2, kCellReadOnly);
        QTest::keyClick(m_grid, Qt::Key_F2);
        QVERIFY(!m_grid->IsEditing());
        m_grid->SetItemState(2, 2, 0);
        m_grid->SetEditable(false);
        QTest::keyClick(m_grid, Qt::Key_F2);
        QVERIFY(!m_grid->IsEditing());
        QTest::mouseDClick(m_grid->viewport(), Qt::LeftButton, {}, CellCenter(3, 3));
        QVERIFY(!m_grid->IsEditing());
        QCOMPARE(m_window->Count(WM_NOTIFY, GVN_BEGINLABELEDIT), 0);
    }

    void aTypedCharacterReplacesTheTextIncludingDoubleByteInput() {
        Type(m_grid, QStringLiteral("7"));
        QVERIFY(m_grid->IsEditing());
        QCOMPARE(Editor()->text(), QStringLiteral("7"));
        Type(Editor(), QString::fromUtf8("\xE9\x92\xA2"));  // 钢
        QTest::keyClick(Editor(), Qt::Key_Return);
        QCOMPARE(m_grid->GetItemText(2, 2), Utf8ToGbk(u8"7钢"));
        QCOMPARE(m_window->Last(WM_GRID_ENDEDIT)->cellText, Utf8ToGbk(u8"7钢"));

        // A Chinese first character starts the edit just the same.
        Type(m_grid, QString::fromUtf8("\xE6\xA2\x81"));  // 梁
        QVERIFY(m_grid->IsEditing());
        QTest::keyClick(Editor(), Qt::Key_Return);
        QCOMPARE(m_grid->GetItemText(2, 2), Utf8ToGbk(u8"梁"));
    }

    void arrowsEndAnEditStartedByTypingAndMoveOn() {
        Type(m_grid, QStringLiteral("5"));
        QTest::keyClick(Editor(), Qt::Key_Down);
        QCOMPARE(m_grid->GetItemText(2, 2), std::string("5"));
        QCOMPARE(m_grid->GetSelectRow(), 3);
        QCOMPARE(m_grid->GetSelectCol(), 2);
        // Editing goes on in the new focus cell, its text selected.
        QVERIFY(m_grid->IsEditing());
        QCOMPARE(Editor()->text(), QStringLiteral("r3c2"));
        QCOMPARE(Editor()->selectedText(), QStringLiteral("r3c2"));
        QTest::keyClick(Editor(), Qt::Key_Escape);
        QCOMPARE(m_window->Count(WM_GRID_ENDEDIT), 2);
    }

    void arrowsMoveTheCaretInAnEditStartedByDoubleClickUnlessCtrlIsHeld() {
        QTest::mouseDClick(m_grid->viewport(), Qt::LeftButton, {}, CellCenter(2, 2));
        QVERIFY(m_grid->IsEditing());
        QTest::keyClick(Editor(), Qt::Key_Left);
        QVERIFY(m_grid->IsEditing());
        QCOMPARE(Editor()->cursorPosition(), 3);
        QTest::keyClick(Editor(), Qt::Key_Down);
        QVERIFY(m_grid->IsEditing());
        QTest::keyClick(Editor(), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(m_window->Count(WM_GRID_ENDEDIT), 1);
        QCOMPARE(m_grid->GetSelectRow(), 3);
    }

    void tabEndsTheEditAndEditsTheNextCell() {
        m_grid->OnEditCell(2, 2, Qt::Key_F2);
        QTest::keyClick(Editor(), Qt::Key_Tab);
        QCOMPARE(m_grid->GetSelectCol(), 3);
        QVERIFY(m_grid->IsEditing());
        QCOMPARE(Editor()->text(), QStringLiteral("r2c3"));
        m_grid->EndEditing();
        QCOMPARE(m_window->Count(WM_GRID_ENDEDIT), 2);
    }

    void theEditBoxWidensWithItsText() {
        m_grid->OnEditCell(2, 2, Qt::Key_F2);
        const int before = Editor()->width();
        QTest::keyClicks(Editor(), QString(40, QLatin1Char('W')));
        QVERIFY(Editor()->width() > before);
        QVERIFY(Editor()->geometry().right() < m_grid->viewport()->width());
        m_grid->EndEditing();
    }

    void clickingElsewhereEndsTheEdit() {
        m_grid->OnEditCell(2, 2, Qt::Key_F2);
        Editor()->setText(QStringLiteral("typed"));
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, CellCenter(4, 4));
        QVERIFY(!m_grid->IsEditing());
        QCOMPARE(m_grid->GetItemText(2, 2), std::string("typed"));
        QCOMPARE(m_grid->GetSelectRow(), 4);
        QCOMPARE(m_window->Count(WM_GRID_ENDEDIT), 1);
    }

    void rightButtonSendsTheCellUnderThePointer() {
        QTest::mouseClick(m_grid->viewport(), Qt::RightButton, {}, CellCenter(3, 4));
        const RecordedMessage* message = m_window->Last(WM_GRID_RBUTTONUP);
        QVERIFY(message != nullptr);
        QCOMPARE(message->row, 3);
        QCOMPARE(message->col, 4);
        QCOMPARE(message->grid, static_cast<const void*>(m_grid));
        QCOMPARE(m_grid->GetSelectRow(), 3);
        QCOMPARE(m_grid->GetSelectCol(), 4);
        QCOMPARE(m_window->Count(WM_NOTIFY, NM_RCLICK), 1);
        // The notification comes first, then the message.
        QCOMPARE(m_window->Codes().back(), WM_GRID_RBUTTONUP);
    }

    void rightButtonOnAFixedCellClampsTheFocusButNotTheRecord() {
        QTest::mouseClick(m_grid->viewport(), Qt::RightButton, {}, CellCenter(0, 3));
        const RecordedMessage* message = m_window->Last(WM_GRID_RBUTTONUP);
        QCOMPARE(message->row, 0);
        QCOMPARE(message->col, 3);
        QCOMPARE(m_grid->GetSelectRow(), 1);
        QCOMPARE(m_grid->GetSelectCol(), 3);
    }

    void rightButtonOutsideTheCellsSendsMinusOne() {
        const QPoint outside(m_grid->viewport()->width() - 5, m_grid->viewport()->height() - 5);
        QVERIFY(!m_grid->GetCellFromPt(outside).IsValid());
        QTest::mouseClick(m_grid->viewport(), Qt::RightButton, {}, outside);
        const RecordedMessage* message = m_window->Last(WM_GRID_RBUTTONUP);
        QVERIFY(message != nullptr);
        QCOMPARE(message->row, -1);
        QCOMPARE(message->col, -1);
        QCOMPARE(m_grid->GetSelectRow(), 2);  // the focus stays where it was
    }

    void rightButtonEndsAnEditFirst() {
        m_grid->OnEditCell(2, 2, Qt::Key_F2);
        QTest::mouseClick(m_grid->viewport(), Qt::RightButton, {}, CellCenter(4, 4));
        const std::vector<int> codes = m_window->Codes();
        auto endEdit = std::find(codes.begin(), codes.end(), WM_GRID_ENDEDIT);
        auto rightButton = std::find(codes.begin(), codes.end(), WM_GRID_RBUTTONUP);
        QVERIFY(endEdit != codes.end());
        QVERIFY(endEdit < rightButton);
    }

    void aClickAnywhereInAMergedBlockFocusesItsMaster() {
        QVERIFY(m_grid->MergeCells(1, 1, 2, 3));
        int row = 0;
        int col = 0;
        QVERIFY(m_grid->GetMergeCell(row, col, 2, 3));
        QCOMPARE(row, 1);
        QCOMPARE(col, 1);
        QVERIFY(!m_grid->GetMergeCell(row, col, 1, 1));
        QPoint origin;
        m_grid->GetCellOriginNoMerge(2, 3, origin);
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, origin + QPoint(3, 3));
        QCOMPARE(m_grid->GetSelectRow(), 1);
        QCOMPARE(m_grid->GetSelectCol(), 1);
        // The whole block is selected, and a right click in it reports the master.
        QVERIFY(m_grid->Model().IsCellSelected(2, 3));
        QTest::mouseClick(m_grid->viewport(), Qt::RightButton, {}, origin + QPoint(3, 3));
        QCOMPARE(m_window->Last(WM_GRID_RBUTTONUP)->row, 1);
        QCOMPARE(m_window->Last(WM_GRID_RBUTTONUP)->col, 1);
        QVERIFY(m_grid->UnMergeCells(1, 1, 1, 1));
        QVERIFY(!m_grid->GetMergeCell(row, col, 2, 3));
    }

    void aMergedBlockIsEditedOverItsWholeRectangle() {
        m_grid->MergeCells(1, 1, 2, 3);
        QPoint origin;
        m_grid->GetCellOriginNoMerge(2, 2, origin);
        QTest::mouseDClick(m_grid->viewport(), Qt::LeftButton, {}, origin + QPoint(2, 2));
        QVERIFY(m_grid->IsEditing());
        QRect block;
        m_grid->GetCellRect(1, 1, block);
        QCOMPARE(Editor()->geometry().topLeft(), block.topLeft());
        QVERIFY(Editor()->width() >= block.width());
        QTest::keyClick(Editor(), Qt::Key_Escape);
        QCOMPARE(m_window->Last(WM_GRID_ENDEDIT)->row, 1);
        QCOMPARE(m_window->Last(WM_GRID_ENDEDIT)->col, 1);
    }

    void aMergedMasterIsDrawnOverItsWholeBlock() {
        m_grid->SetItemBkColour(1, 1, GridRgb(255, 0, 0));
        m_grid->SetItemBkColour(2, 3, GridRgb(0, 0, 255));
        m_grid->MergeCells(1, 1, 2, 3);
        QImage image(m_grid->viewport()->size(), QImage::Format_RGB32);
        QPainter painter(&image);
        m_grid->DrawGrid(painter, image.rect());
        painter.end();
        QPoint origin;
        m_grid->GetCellOriginNoMerge(2, 3, origin);
        QCOMPARE(QColor(image.pixel(origin + QPoint(3, 3))), QColor(255, 0, 0));
        m_grid->UnMergeCells(1, 1, 2, 3);
        image.fill(Qt::black);
        QPainter again(&image);
        m_grid->DrawGrid(again, image.rect());
        again.end();
        QCOMPARE(QColor(image.pixel(origin + QPoint(3, 3))), QColor(0, 0, 255));
    }

    void keysMoveTheFocusAndNotifyTheSelectionChange() {
        QTest::keyClick(m_grid, Qt::Key_Right);
        QCOMPARE(m_grid->GetSelectCol(), 3);
        QTest::keyClick(m_grid, Qt::Key_Down);
        QCOMPARE(m_grid->GetSelectRow(), 3);
        QTest::keyClick(m_grid, Qt::Key_Home);
        QCOMPARE(m_grid->GetSelectCol(), 1);
        QTest::keyClick(m_grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(m_grid->GetSelectRow(), 5);
        QCOMPARE(m_grid->GetSelectCol(), 4);
        QTest::keyClick(m_grid, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(m_grid->GetSelectedCellRange(), CCellRange(4, 4, 5, 4));
        QCOMPARE(m_window->Count(WM_NOTIFY, GVN_SELCHANGING), 5);
        QCOMPARE(m_window->Count(WM_NOTIFY, GVN_SELCHANGED), 5);
        const RecordedMessage* changed = nullptr;
        for (const RecordedMessage& m : m_window->messages) {
            if (m.code == GVN_SELCHANGED) {
                changed = &m;
            }
        }
        QCOMPARE(changed->row, 4);
        QCOMPARE(changed->col, 4);
    }

    void hiddenRowsAreSkippedByTheKeys() {
        m_grid->SetRowHeight(3, 0);
        QTest::keyClick(m_grid, Qt::Key_Down);
        QCOMPARE(m_grid->GetSelectRow(), 4);
        QTest::keyClick(m_grid, Qt::Key_Up);
        QCOMPARE(m_grid->GetSelectRow(), 2);
    }

    void deleteClearsTheSelectedTextsOfAnEditableGrid() {
        m_grid->SetSelectedRange(2, 2, 3, 3);
        m_grid->SetItemState(3, 3, kCellSelected | kCellReadOnly);
        QTest::keyClick(m_grid, Qt::Key_Delete);
        QCOMPARE(m_grid->GetItemText(2, 2), std::string());
        QCOMPARE(m_grid->GetItemText(3, 2), std::string());
        QCOMPARE(m_grid->GetItemText(3, 3), std::string("r3c3"));
        m_grid->SetEditable(false);
        m_grid->SetSelectedRange(4, 4, 4, 4);
        QTest::keyClick(m_grid, Qt::Key_Delete);
        QCOMPARE(m_grid->GetItemText(4, 4), std::string("r4c4"));
    }

    void clickOnAHeaderSelectsTheColumnAndCtrlASelectsAll() {
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, CellCenter(0, 2));
        QCOMPARE(m_grid->GetSelectedCellRange(), CCellRange(1, 2, 5, 2));
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, CellCenter(3, 0));
        QCOMPARE(m_grid->GetSelectedCellRange(), CCellRange(3, 1, 3, 4));
        QTest::keyClick(m_grid, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(m_grid->GetSelectedCount(), 20);
    }

    void clickOnAMergedHeadingSelectsEveryColumnUnderIt() {
        m_grid->MergeCells(0, 2, 0, 3);
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, CellCenter(0, 2));
        QCOMPARE(m_grid->GetSelectedCellRange(), CCellRange(1, 2, 5, 3));
    }

    void draggingAHeaderBorderResizesTheColumn() {
        QRect header;
        m_grid->GetCellRect(0, 2, header);
        const int before = m_grid->GetColumnWidth(2);
        const QPoint border(header.right(), header.center().y());
        QTest::mousePress(m_grid->viewport(), Qt::LeftButton, {}, border);
        QMouseEvent move(QEvent::MouseMove, QPointF(border + QPoint(25, 0)),
                         m_grid->viewport()->mapToGlobal(QPointF(border + QPoint(25, 0))),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_grid->viewport(), &move);
        QTest::mouseRelease(m_grid->viewport(), Qt::LeftButton, {}, border + QPoint(25, 0));
        QCOMPARE(m_grid->GetColumnWidth(2), before + 25);
    }

    void theWheelScrollsBySettingLinesPerNotch() {
        CGridCtrl grid(200, 3, 1, 1);
        grid.resize(300, 300);
        grid.show();
        QApplication::setWheelScrollLines(3);
        QWheelEvent wheel(QPointF(50, 50), grid.viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid.viewport(), &wheel);
        QCOMPARE(grid.GetScrollPos32(1), 3 * grid.GetRowHeight(5));
        QCOMPARE(grid.GetVisibleNonFixedCellRange().GetMinRow(), 4);
    }

    void aModelFilledByAWorkerIsShownInOneStep() {
        std::unique_ptr<GridModel> model = m_grid->NewModel();
        std::thread worker([&model] {
            model->SetColumnCount(3);
            model->SetRowCount(1);
            model->SetFixedRowCount(1);
            for (int i = 0; i < 500; ++i) {
                const int row = model->InsertRow("", -1);
                model->SetItemText(row, 1, "w" + std::to_string(i));
                model->SetRowData(row, i);
            }
        });
        worker.join();
        std::unique_ptr<GridModel> old = m_grid->SetModel(std::move(model));
        QCOMPARE(old->GetRowCount(), 6);
        QCOMPARE(m_grid->GetRowCount(), 501);
        QCOMPARE(m_grid->GetItemText(500, 1), std::string("w499"));
        QCOMPARE(m_grid->GetRowData(7), std::intptr_t{6});
        QCOMPARE(m_grid->GetRowHeight(10), m_grid->Model().Metrics().rowHeight);
        QVERIFY(m_grid->verticalScrollBar()->maximum() > 0);
        const QImage shot = m_grid->grab().toImage();
        QVERIFY(!shot.isNull());
    }

    void rowDataStaysWithTheIndexAcrossRowDeletion() {
        m_grid->SetRowData(5, 55);
        m_grid->SetRowData(4, 44);
        QVERIFY(m_grid->DeleteRow(2));
        QCOMPARE(m_grid->GetRowData(5), std::intptr_t{55});
        QCOMPARE(m_grid->GetRowData(4), std::intptr_t{44});
        m_grid->DeleteAllItems();
        QCOMPARE(m_grid->GetRowData(5), std::intptr_t{0});
        QCOMPARE(m_grid->GetSelectRow(), -1);
    }
};

QTEST_MAIN(GridCtrlTest)
#include "GridCtrlTest.moc"
