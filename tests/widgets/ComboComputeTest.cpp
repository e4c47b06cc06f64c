// The calculator combo box: key sequences, opening with the right button, placement.

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include "controls/widgets/CalculatorState.h"
#include "controls/widgets/ComputeComboBox.h"
#include "controls/widgets/ComputeDlg.h"
#include "controls/widgets/PopupPlacement.h"

using namespace quarrant;

namespace {

const QString kDivide = QString::fromUtf8("\xC3\xB7");        // ÷
const QString kMultiply = QString::fromUtf8("\xC3\x97");      // ×
const QString kSubtract = QString::fromUtf8("\xEF\xBC\x8D");  // －
const QString kEquals = QString::fromUtf8("\xEF\xBC\x9D");    // ＝

}  // namespace

class ComboComputeTest : public QObject {
    Q_OBJECT

private slots:
    void keySequencesShowEachStep_data() {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("12 + 3 =") << QStringList{"1", "2", "+", "3", kEquals}
                                  << QStringList{"1", "12", "12", "3", "15.000000"};
        QTest::newRow("6 x = squares")
            << QStringList{"6", kMultiply, kEquals} << QStringList{"6", "6", "36.000000"};
        QTest::newRow("6 - = is zero")
            << QStringList{"6", kSubtract, kEquals} << QStringList{"6", "6", "0.000000"};
        QTest::newRow("a chain carries out the pending operation first")
            << QStringList{"8", kDivide, "2", kMultiply, "3", kEquals}
            << QStringList{"8", "8", "2", "4.000000", "3", "12.000000"};
        QTest::newRow("a digit after a result starts anew")
            << QStringList{"2", "+", "3", kEquals, "7"}
            << QStringList{"2", "2", "3", "5.000000", "7"};
        QTest::newRow("a leading zero is replaced")
            << QStringList{"0", "0", "5"} << QStringList{"0", "0", "5"};
        QTest::newRow("point on an empty operand")
            << QStringList{".", "5", "."} << QStringList{"0.", "0.5", "0.5"};
        QTest::newRow("sign toggles, not on zero or empty")
            << QStringList{"+/-", "0", "+/-", "4", "+/-", "+/-"}
            << QStringList{"", "0", "0", "4", "-4", "4"};
        QTest::newRow("equals without an operator does nothing")
            << QStringList{"9", kEquals} << QStringList{"9", "9"};
        QTest::newRow("division by zero")
            << QStringList{"1", kDivide, "0", kEquals} << QStringList{"1", "1", "0", "inf"};
        QTest::newRow("C empties everything")
            << QStringList{"4", "+", "5", "C", "2"} << QStringList{"4", "4", "5", "", "2"};
        QTest::newRow("single precision")
            << QStringList{"1", kDivide, "3", kEquals} << QStringList{"1", "1", "3", "0.333333"};
        QTest::newRow("second operand gets its own point and sign")
            << QStringList{"2", kSubtract, ".", "5", "+/-", kEquals}
            << QStringList{"2", "2", "0.", "0.5", "-0.5", "2.500000"};
    }

    void keySequencesShowEachStep() {
        QFETCH(QStringList, keys);
        QFETCH(QStringList, shown);
        CComputeComboBox combo;
        CComputeDlg* dialog = combo.GetDlg();
        for (qsizetype i = 0; i < keys.size(); ++i) {
            QAbstractButton* key = dialog->Key(keys[i]);
            QVERIFY2(key != nullptr, qPrintable(keys[i]));
            key->click();
            QCOMPARE(combo.currentText(), shown[i]);
        }
    }

    void theStateFollowsTheTable() {
        CalculatorState state;
        state.PressKey("7");
        state.PressKey("+");
        QVERIFY(state.EnteringSecond());
        QCOMPARE(state.PendingOperator(), CalculatorState::Operator::Add);
        state.PressKey("1");
        QCOMPARE(state.SecondOperand(), std::string("1"));
        state.PressKey("=");
        QVERIFY(state.ResultShown());
        QVERIFY(!state.EnteringSecond());
        QCOMPARE(state.FirstOperand(), std::string("8.000000"));
        QCOMPARE(state.SecondOperand(), std::string());
    }

    void rightButtonOpensTheCalculatorWithTheTextAfterTheFirstEquals() {
        QWidget window;
        window.resize(400, 300);
        auto* combo = new CComputeComboBox(&window);
        combo->setGeometry(20, 20, 150, 24);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!combo->GetDlg()->isVisible());
        combo->setEditText(QStringLiteral("L=2*3=4"));
        QTest::mouseClick(combo->lineEdit(), Qt::RightButton, {}, QPoint(5, 5));
        QVERIFY(combo->GetDlg()->isVisible());
        QCOMPARE(combo->currentText(), QStringLiteral("2*3=4"));
        QCOMPARE(combo->GetDlg()->State().FirstOperand(), std::string("2*3=4"));
        // Not a number: it counts as 0 in a calculation.
        combo->GetDlg()->PressKey(QStringLiteral("+"));
        combo->GetDlg()->PressKey(QStringLiteral("1"));
        combo->GetDlg()->PressKey(kEquals);
        QCOMPARE(combo->currentText(), QStringLiteral("3.000000"));
    }

    void anEmptyBoxKeepsTheCalculatorsText() {
        QWidget window;
        auto* combo = new CComputeComboBox(&window);
        combo->setGeometry(20, 20, 150, 24);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        combo->GetDlg()->PressKey(QStringLiteral("5"));
        combo->setEditText(QString());
        QTest::mouseClick(combo, Qt::RightButton, {}, QPoint(combo->width() - 5, 5));
        QVERIFY(combo->GetDlg()->isVisible());
        QCOMPARE(combo->GetDlg()->State().FirstOperand(), std::string("5"));
        QCOMPARE(combo->currentText(), QString());
    }

    void thePopupGoesBelowAndLeftAlignedNearTheTopLeft() {
        QWidget window;
        window.move(0, 0);
        auto* combo = new CComputeComboBox(&window);
        combo->setGeometry(10, 10, 120, 24);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        combo->OpenPopup();
        const QRect box(combo->mapToGlobal(QPoint(0, 0)), combo->size());
        const QRect popup = combo->GetDlg()->frameGeometry();
        QVERIFY(box.left() < kComputeRightAlignFromX);
        QCOMPARE(popup.top(), box.top() + box.height());
        QCOMPARE(popup.left(), box.left());
    }

    void placementRule_data() {
        QTest::addColumn<QRect>("anchor");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<QPoint>("origin");
        const int w = 200;
        const int h = 150;
        Q_UNUSED(w);
        Q_UNUSED(h);
        QTest::newRow("below, left-aligned")
            << QRect(50, 100, 120, 24) << kComputeRightAlignFromX << QPoint(50, 124);
        QTest::newRow("bottom edge at 530 is still below")
            << QRect(50, 506, 120, 24) << kComputeRightAlignFromX << QPoint(50, 530);
        QTest::newRow("bottom edge at 531 goes above")
            << QRect(50, 507, 120, 24) << kComputeRightAlignFromX << QPoint(50, 507 - 150);
        QTest::newRow("left edge at 100 right-aligns the calculator")
            << QRect(100, 100, 120, 24) << kComputeRightAlignFromX << QPoint(220 - 200, 124);
        QTest::newRow("the keyboard right-aligns only from 450")
            << QRect(300, 100, 120, 24) << kJianPanRightAlignFromX << QPoint(300, 124);
        QTest::newRow("keyboard at 450")
            << QRect(450, 600, 120, 24) << kJianPanRightAlignFromX << QPoint(570 - 200, 600 - 150);
    }

    void placementRule() {
        QFETCH(QRect, anchor);
        QFETCH(int, threshold);
        QFETCH(QPoint, origin);
        const PopupOrigin placed =
            PlacePopup(anchor.left(), anchor.top(), anchor.left() + anchor.width(),
                       anchor.top() + anchor.height(), 200, 150, threshold);
        QCOMPARE(QPoint(placed.x, placed.y), origin);
    }
};

QTEST_MAIN(ComboComputeTest)
#include "ComboComputeTest.moc"
