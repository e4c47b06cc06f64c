#include "controls/widgets/ComputeDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QPushButton>

#include "controls/widgets/PopupPlacement.h"
#include "platform/QtText.h"

namespace quarrant {

CComputeDlg::CComputeDlg(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setModal(false);
    setObjectName(QStringLiteral("IDD_%1").arg(IDD));
    auto* layout = new QGridLayout(this);
    layout->setSpacing(2);
    layout->setContentsMargins(4, 4, 4, 4);
    const char* const rows[4][4] = {{"1", "2", "3", "\xC3\xB7"},  // ÷
                                    {"4", "5", "6", "\xC3\x97"},  // ×
                                    {"7", "8", "9", "+"},
                                    {"0", "+/-", ".", "\xEF\xBC\x8D"}};  // －
    auto addKey = [this, layout](const QString& label, int row, int col, int span) {
        auto* button = new QPushButton(label, this);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);
        button->setMinimumWidth(34);
        layout->addWidget(button, row, col, 1, span);
        connect(button, &QPushButton::clicked, this, [this, label] { PressKey(label); });
        m_keys[label] = button;
    };
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            addKey(QString::fromUtf8(rows[row][col]), row, col, 1);
        }
    }
    addKey(QStringLiteral("C"), 4, 0, 2);
    addKey(QString::fromUtf8("\xEF\xBC\x9D"), 4, 2, 2);  // ＝
    adjustSize();
}

QAbstractButton* CComputeDlg::Key(const QString& label) const {
    auto found = m_keys.find(label);
    return found != m_keys.end() ? found->second : nullptr;
}

void CComputeDlg::PressKey(const QString& label) {
    const QByteArray utf8 = label.toUtf8();
    const std::string shown = m_state.PressKey(std::string_view(utf8.constData(), utf8.size()));
    if (m_target != nullptr) {
        m_target->setEditText(ToQt(shown));
    }
}

void CComputeDlg::PlaceAgainstAnchor() {
    adjustSize();
    const QSize size = frameGeometry().size();
    const PopupOrigin origin = PlacePopup(
        m_anchor.left(), m_anchor.top(), m_anchor.left() + m_anchor.width(),
        m_anchor.top() + m_anchor.height(), size.width(), size.height(), kComputeRightAlignFromX);
    move(origin.x, origin.y);
}

}  // namespace quarrant
