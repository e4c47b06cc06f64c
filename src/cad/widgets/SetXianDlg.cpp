#include "cad/widgets/SetXianDlg.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include <string>

#include "platform/QtText.h"

namespace quarrant {

CSetXianDlg::CSetXianDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CSetXianDlg"));
    setWindowTitle(ToQt("\xD7\xD4\xB6\xA8\xD2\xE5\xCF\xDF\xCA\xFD\xC1\xBF"));  // 自定义线数量
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("1013"));
    m_edit->setText(QStringLiteral("2"));
    m_edit->selectAll();
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("IDOK"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_edit);
    layout->addWidget(m_ok);
}

std::string CSetXianDlg::Text() const {
    return FromQt(m_edit->text());
}

}  // namespace quarrant
