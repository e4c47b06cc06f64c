#include "app/widgets/SetDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/SettingsFiles.h"
#include "base/CNumbers.h"
#include "platform/QtText.h"

namespace quarrant {

CSetDlg::CSetDlg(Settings& settings, MessageSink& messages, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_messages(messages) {
    setObjectName(QStringLiteral("SetDlg"));
    setWindowTitle(ToQt("\xC9\xE8\xD6\xC3\xB6\xD4\xBB\xB0\xBF\xF2"));  // 设置对话框

    // "%f": six decimals, so 0.5 shows as 0.500000.
    m_coordinate = new QLineEdit(ToQt(FormatFixed(settings.coordinatePrecision, 6)), this);
    m_coordinate->setObjectName(QStringLiteral("Edit1013"));
    m_angle = new QLineEdit(ToQt(FormatFixed(settings.lineAnglePrecision, 6)), this);
    m_angle->setObjectName(QStringLiteral("Edit1028"));

    auto* form = new QFormLayout;
    form->addRow(ToQt("\xD7\xF8\xB1\xEA\xCE\xBB\xD6\xC3\xBE\xAB\xB6\xC8\xD6\xB5\xA3\xA8mm\xA3\xA9"
                      "\xA3\xBA"),  // 坐标位置精度值（mm）：
                 m_coordinate);
    form->addRow(ToQt("\xD6\xB1\xCF\xDF\xBD\xC7\xB6\xC8\xBE\xAB\xB6\xC8\xA3\xA8\xBB\xA1\xB6\xC8"
                      "\xA3\xA9\xA3\xBA"),  // 直线角度精度（弧度）：
                 m_angle);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok =
        buttons->addButton(ToQt("\xC8\xB7\xB6\xA8"), QDialogButtonBox::AcceptRole);  // 确定
    buttons->addButton(ToQt("\xC8\xA1\xCF\xFB"), QDialogButtonBox::RejectRole);      // 取消
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSetDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void CSetDlg::accept() {
    // In force at once; the file keeps the texts as typed (coordinate precision first).
    const Status written =
        WriteSetIni(m_settings, FromQt(m_coordinate->text()), FromQt(m_angle->text()));
    if (!written) {
        m_messages.Show(written.Message());
    }
    QDialog::accept();
}

}  // namespace quarrant
