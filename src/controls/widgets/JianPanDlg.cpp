#include "controls/widgets/JianPanDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QPushButton>

#include <cstring>

#include "controls/widgets/PopupPlacement.h"
#include "platform/QtText.h"

namespace quarrant {

QString CJianPanDlg::SpaceLabel() {
    return QStringLiteral("space");
}
QString CJianPanDlg::BackspaceLabel() {
    return QStringLiteral("backspace");
}
QString CJianPanDlg::CapsLockLabel() {
    return QStringLiteral("CAPS  LOCK");
}
QString CJianPanDlg::ShiftLabel() {
    return QStringLiteral("SHIFT");
}
QString CJianPanDlg::ChinesePunctuationLabel() {
    return QString::fromUtf8("\xE4\xB8\xAD\xE6\x96\x87\xE6\xA0\x87\xE7\x82\xB9");  // 中文标点
}
QString CJianPanDlg::ClearAllLabel() {
    // 清空所有数据
    return QString::fromUtf8(
        "\xE6\xB8\x85\xE7\xA9\xBA\xE6\x89\x80\xE6\x9C\x89\xE6\x95\xB0\xE6\x8D\xAE");
}

CJianPanDlg::CJianPanDlg(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setModal(false);
    setObjectName(QStringLiteral("IDD_%1").arg(IDD));
    auto* layout = new QGridLayout(this);
    layout->setSpacing(2);
    layout->setContentsMargins(4, 4, 4, 4);
    auto makeButton = [this](const QString& label) {
        auto* button = new QPushButton(label, this);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);
        button->setMinimumWidth(30);
        return button;
    };
    const char* const rows[] = {"1234567890-=`", "qwertyuiop[]\\", "asdfghjkl;'", "zxcvbnm,./"};
    for (int row = 0; row < 4; ++row) {
        const int length = static_cast<int>(std::strlen(rows[row]));
        for (int col = 0; col < length; ++col) {
            const char key = rows[row][col];
            QPushButton* button = makeButton(QString());
            layout->addWidget(button, row, col + row / 2);
            connect(button, &QPushButton::clicked, this, [this, key] { PressCharacterKey(key); });
            m_characterKeys[key] = button;
        }
    }
    auto addKey = [&](const QString& label, int row, int col, int span, bool toggle) {
        QPushButton* button = makeButton(label);
        button->setCheckable(toggle);
        layout->addWidget(button, row, col, 1, span);
        m_keys[label] = button;
        return button;
    };
    QPushButton* space = addKey(SpaceLabel(), 4, 3, 6, false);
    connect(space, &QPushButton::clicked, this, [this] { ShowText(m_state.PressSpace()); });
    QPushButton* backspace = addKey(BackspaceLabel(), 3, 11, 3, false);
    connect(backspace, &QPushButton::clicked, this, [this] { ShowText(m_state.PressBackspace()); });
    QPushButton* clear = addKey(ClearAllLabel(), 4, 10, 4, false);
    connect(clear, &QPushButton::clicked, this, [this] { ShowText(m_state.PressClearAll()); });
    QPushButton* caps = addKey(CapsLockLabel(), 2, 12, 2, true);
    connect(caps, &QPushButton::toggled, this, [this](bool on) {
        m_state.SetCapsLock(on);
        Relabel();
    });
    QPushButton* shift = addKey(ShiftLabel(), 4, 0, 3, true);
    connect(shift, &QPushButton::toggled, this, [this](bool on) {
        m_state.SetShift(on);
        Relabel();
    });
    QPushButton* chinese = addKey(ChinesePunctuationLabel(), 4, 9, 1, true);
    connect(chinese, &QPushButton::toggled, this, [this](bool on) {
        m_state.SetChinesePunctuation(on);
        Relabel();
    });
    Relabel();
    adjustSize();
}

QAbstractButton* CJianPanDlg::CharacterKey(char key) const {
    auto found = m_characterKeys.find(key);
    return found != m_characterKeys.end() ? found->second : nullptr;
}

QAbstractButton* CJianPanDlg::Key(const QString& label) const {
    auto found = m_keys.find(label);
    return found != m_keys.end() ? found->second : nullptr;
}

void CJianPanDlg::PressCharacterKey(char key) {
    ShowText(m_state.PressKey(key));
}

void CJianPanDlg::ShowText(const std::string& gbkText) {
    if (m_target != nullptr) {
        m_target->setEditText(ToQt(gbkText));
    }
}

void CJianPanDlg::Relabel() {
    for (auto& [key, button] : m_characterKeys) {
        QString label = ToQt(m_state.KeyText(key));
        // A single "&" would be taken as a mnemonic marker.
        label.replace(QLatin1Char('&'), QStringLiteral("&&"));
        button->setText(label);
    }
}

void CJianPanDlg::PlaceAgainstAnchor() {
    adjustSize();
    const QSize size = frameGeometry().size();
    const PopupOrigin origin = PlacePopup(
        m_anchor.left(), m_anchor.top(), m_anchor.left() + m_anchor.width(),
        m_anchor.top() + m_anchor.height(), size.width(), size.height(), kJianPanRightAlignFromX);
    move(origin.x, origin.y);
}

}  // namespace quarrant
