// The keyboard combo box: what each key types with the toggles, backspace over double-byte
// characters, relabelling, opening with the right button.

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include "base/GbkText.h"
#include "controls/widgets/JianPanComboBox.h"
#include "controls/widgets/JianPanDlg.h"
#include "controls/widgets/KeyboardState.h"

using namespace quarrant;

namespace {

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

}  // namespace

class ComboJianPanTest : public QObject {
    Q_OBJECT

private slots:
    void keysTypeByTheToggles_data() {
        QTest::addColumn<char>("key");
        QTest::addColumn<bool>("caps");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<bool>("chinese");
        QTest::addColumn<QString>("typed");
        QTest::newRow("letter plain") << 'q' << false << false << false << "q";
        QTest::newRow("letter caps") << 'q' << true << false << false << "Q";
        QTest::newRow("letter shift") << 'q' << false << true << false << "Q";
        QTest::newRow("letter caps and shift") << 'q' << true << true << false << "q";
        QTest::newRow("letter with chinese punctuation") << 'm' << false << false << true << "m";
        QTest::newRow("digit shift") << '1' << false << true << false << "!";
        QTest::newRow("digit chinese") << '1' << false << false << true << "1";
        QTest::newRow("digit chinese shift") << '1' << false << true << true << Utf8("！");
        QTest::newRow("2 chinese shift") << '2' << false << true << true << Utf8("◎");
        QTest::newRow("4 chinese shift") << '4' << false << true << true << Utf8("￥");
        QTest::newRow("6 shift") << '6' << false << true << false << "^";
        QTest::newRow("6 chinese shift") << '6' << false << true << true << Utf8("……");
        QTest::newRow("7 shift") << '7' << false << true << false << "&";
        QTest::newRow("minus chinese") << '-' << false << false << true << Utf8("－");
        QTest::newRow("minus chinese shift") << '-' << false << true << true << Utf8("——");
        QTest::newRow("backquote chinese") << '`' << false << false << true << Utf8("·");
        QTest::newRow("backslash shift") << '\\' << false << true << false << "|";
        QTest::newRow("backslash chinese") << '\\' << false << false << true << Utf8("÷");
        QTest::newRow("backslash chinese shift") << '\\' << false << true << true << Utf8("§");
        QTest::newRow("bracket chinese shift") << '[' << false << true << true << Utf8("『");
        QTest::newRow("comma chinese") << ',' << false << false << true << Utf8("，");
        QTest::newRow("period chinese") << '.' << false << false << true << Utf8("。");
        QTest::newRow("slash chinese") << '/' << false << false << true << Utf8("、");
        QTest::newRow("slash chinese shift") << '/' << false << true << true << Utf8("？");
        QTest::newRow("quote plain") << '\'' << false << false << false << "'";
        QTest::newRow("quote shift") << '\'' << false << true << false << "\"";
        QTest::newRow("quote chinese") << '\'' << false << false << true << Utf8("’");
        QTest::newRow("quote chinese shift") << '\'' << false << true << true << Utf8("”");
        QTest::newRow("quote chinese caps") << '\'' << true << false << true << Utf8("‘");
        QTest::newRow("quote chinese caps shift") << '\'' << true << true << true << Utf8("“");
    }

    void keysTypeByTheToggles() {
        QFETCH(char, key);
        QFETCH(bool, caps);
        QFETCH(bool, shift);
        QFETCH(bool, chinese);
        QFETCH(QString, typed);
        CJianPanComboBox combo;
        CJianPanDlg* dialog = combo.GetDlg();
        dialog->Key(CJianPanDlg::CapsLockLabel())->setChecked(caps);
        dialog->Key(CJianPanDlg::ShiftLabel())->setChecked(shift);
        dialog->Key(CJianPanDlg::ChinesePunctuationLabel())->setChecked(chinese);
        dialog->CharacterKey(key)->click();
        QCOMPARE(combo.currentText(), typed);
        QCOMPARE(dialog->State().Text(), Utf8ToGbk(typed.toStdString()));
        // The key shows what it types ("&" doubled so that it is not a mnemonic).
        QString label = typed;
        label.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QCOMPARE(dialog->CharacterKey(key)->text(), label);
    }

    void backspaceAfterAnEllipsisRemovesOneDoubleByteCharacter() {
        CJianPanComboBox combo;
        CJianPanDlg* dialog = combo.GetDlg();
        dialog->Key(CJianPanDlg::ChinesePunctuationLabel())->setChecked(true);
        dialog->Key(CJianPanDlg::ShiftLabel())->setChecked(true);
        dialog->CharacterKey('6')->click();
        QCOMPARE(dialog->State().Text(), std::string("\xA1\xAD\xA1\xAD"));
        dialog->Key(CJianPanDlg::BackspaceLabel())->click();
        QCOMPARE(dialog->State().Text(), std::string("\xA1\xAD"));
        QCOMPARE(combo.currentText(), Utf8("…"));
    }

    void backspaceRemovesWholeCharacters_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("ascii") << QByteArray("ab") << QByteArray("a");
        QTest::newRow("one character becomes empty") << QByteArray("a") << QByteArray("");
        QTest::newRow("empty stays empty") << QByteArray("") << QByteArray("");
        QTest::newRow("double-byte last") << QByteArray("a\xD6\xD0") << QByteArray("a");
        QTest::newRow("ascii after double-byte") << QByteArray(
                                                        "\xD6\xD0"
                                                        "a")
                                                 << QByteArray("\xD6\xD0");
        // A trail byte below 0x80 still belongs to its double-byte character.
        QTest::newRow("trail byte below 0x80") << QByteArray("x\x81\x40") << QByteArray("x");
        QTest::newRow("four-byte character") << QByteArray("x\x81\x30\x81\x30") << QByteArray("x");
    }

    void backspaceRemovesWholeCharacters() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        KeyboardState state;
        state.SetText(before.toStdString());
        QCOMPARE(QByteArray::fromStdString(state.PressBackspace()), after);
    }

    void spaceAndClearAll() {
        CJianPanComboBox combo;
        CJianPanDlg* dialog = combo.GetDlg();
        dialog->CharacterKey('a')->click();
        dialog->Key(CJianPanDlg::SpaceLabel())->click();
        dialog->CharacterKey('b')->click();
        QCOMPARE(combo.currentText(), QStringLiteral("a b"));
        dialog->Key(CJianPanDlg::ClearAllLabel())->click();
        QCOMPARE(combo.currentText(), QString());
        QCOMPARE(dialog->State().Text(), std::string());
    }

    void togglingRelabelsTheKeys() {
        CJianPanComboBox combo;
        CJianPanDlg* dialog = combo.GetDlg();
        QCOMPARE(dialog->CharacterKey('a')->text(), QStringLiteral("a"));
        QCOMPARE(dialog->CharacterKey(';')->text(), QStringLiteral(";"));
        dialog->Key(CJianPanDlg::CapsLockLabel())->click();
        QCOMPARE(dialog->CharacterKey('a')->text(), QStringLiteral("A"));
        dialog->Key(CJianPanDlg::ChinesePunctuationLabel())->click();
        QCOMPARE(dialog->CharacterKey(';')->text(), Utf8("；"));
        QCOMPARE(dialog->CharacterKey('\'')->text(), Utf8("‘"));
        dialog->Key(CJianPanDlg::ShiftLabel())->click();
        QCOMPARE(dialog->CharacterKey('a')->text(), QStringLiteral("a"));
        QCOMPARE(dialog->CharacterKey(';')->text(), Utf8("："));
        QCOMPARE(KeyboardState::CharacterKeys().size(), std::size_t{47});
    }

    void rightButtonOpensTheKeyboardWithTheTextAfterTheFirstEquals() {
        QWidget window;
        window.resize(400, 300);
        auto* combo = new CJianPanComboBox(&window);
        combo->setGeometry(20, 20, 150, 24);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!combo->GetDlg()->isVisible());
        combo->setEditText(Utf8("梁=H300"));
        QTest::mouseClick(combo->lineEdit(), Qt::RightButton, {}, QPoint(5, 5));
        QVERIFY(combo->GetDlg()->isVisible());
        QCOMPARE(combo->currentText(), QStringLiteral("H300"));
        combo->GetDlg()->CharacterKey('x')->click();
        QCOMPARE(combo->currentText(), QStringLiteral("H300x"));
        // The pop-up keeps its text between showings; an empty box does not replace it.
        combo->GetDlg()->hide();
        combo->setEditText(QString());
        QTest::mouseClick(combo->lineEdit(), Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(combo->GetDlg()->State().Text(), std::string("H300x"));
    }

    void droppingDownTheListDoesNotOpenTheKeyboard() {
        QWidget window;
        auto* combo = new CJianPanComboBox(&window);
        combo->addItem(QStringLiteral("one"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        combo->showPopup();
        QVERIFY(!combo->GetDlg()->isVisible());
        combo->hidePopup();
    }
};

QTEST_MAIN(ComboJianPanTest)
#include "ComboJianPanTest.moc"
