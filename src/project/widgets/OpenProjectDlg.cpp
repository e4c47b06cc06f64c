#include "project/widgets/OpenProjectDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "controls/widgets/ShowMessage.h"
#include "platform/QtText.h"
#include "platform/ShellDialogs.h"
#include "project/ProjectDialogChecks.h"

namespace quarrant {

COpenProjectDlg::COpenProjectDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("OpenProjectDlg"));
    setWindowTitle(
        ToQt("\xCC\xED\xBC\xD3\xB9\xA4\xB3\xCC\xB6\xD4\xBB\xB0\xBF\xF2"));  // 添加工程对话框
    m_folder = new QLineEdit(this);
    m_folder->setObjectName(QStringLiteral("Edit1012"));
    m_browse = new QPushButton(QStringLiteral("..."), this);
    m_browse->setObjectName(QStringLiteral("Button1002"));
    m_browse->setAutoDefault(false);
    connect(m_browse, &QPushButton::clicked, this,
            [this] { m_folder->setText(BrowseForFolder(this, ToQt(kBrowseProjectFolderTitle))); });

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok =
        buttons->addButton(ToQt("\xC8\xB7\xB6\xA8"), QDialogButtonBox::AcceptRole);  // 确定
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    buttons->addButton(ToQt("\xC8\xA1\xCF\xFB"), QDialogButtonBox::RejectRole);  // 取消
    connect(buttons, &QDialogButtonBox::accepted, this, &COpenProjectDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(ToQt("\xB9\xA4\xB3\xCC\xCE\xC4\xBC\xFE\xBC\xD0\xA3\xBA"), this), 0,
                      0);  // 工程文件夹：
    layout->addWidget(m_folder, 0, 1);
    layout->addWidget(m_browse, 0, 2);
    layout->addWidget(buttons, 1, 0, 1, 3);
    layout->setColumnMinimumWidth(1, 300);
}

std::string COpenProjectDlg::Folder() const {
    return FromQt(m_folder->text());
}

void COpenProjectDlg::accept() {
    std::string message = CheckOpenProject(Folder());
    if (!message.empty()) {
        ShowMessage(message);
        return;
    }
    QDialog::accept();
}

}  // namespace quarrant
