#include "project/widgets/NewProjectDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <vector>

#include "controls/widgets/ShowMessage.h"
#include "platform/QtText.h"
#include "platform/ShellDialogs.h"
#include "project/ProjectDialogChecks.h"
#include "project/ProjectManager.h"

namespace quarrant {

CNewProjectDlg::CNewProjectDlg(const HashMap17<std::string, std::string>& projectTypes,
                               QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("NewProjectDlg"));
    setWindowTitle(
        ToQt("\xD0\xC2\xBD\xA8\xB9\xA4\xB3\xCC\xB6\xD4\xBB\xB0\xBF\xF2"));  // 新建工程对话框

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Edit1000"));
    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("Edit1001"));
    m_browse = new QPushButton(QStringLiteral("..."), this);
    m_browse->setObjectName(QStringLiteral("Button1002"));
    m_browse->setAutoDefault(false);
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("Combo1037"));
    m_type->setEditable(false);
    // A sorted drop-down list of the project types' keys, nothing chosen at first.
    std::vector<std::string> types;
    for (const auto& entry : projectTypes) {
        types.push_back(entry.key);
    }
    std::sort(types.begin(), types.end());
    for (const std::string& type : types) {
        m_type->addItem(ToQt(type));
    }
    m_type->setCurrentIndex(-1);

    auto* buttons = new QDialogButtonBox(this);
    m_create = buttons->addButton(ToQt("\xB4\xB4\xBD\xA8"), QDialogButtonBox::AcceptRole);  // 创建
    m_create->setObjectName(QStringLiteral("CreateButton"));
    m_create->setDefault(true);
    buttons->addButton(ToQt("\xC8\xA1\xCF\xFB"), QDialogButtonBox::RejectRole);  // 取消
    connect(buttons, &QDialogButtonBox::accepted, this, &CNewProjectDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_browse, &QPushButton::clicked, this, &CNewProjectDlg::Browse);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(ToQt("\xB9\xA4\xB3\xCC\xC3\xFB\xB3\xC6\xA3\xBA"), this), 0,
                      0);  // 工程名称：
    layout->addWidget(m_name, 0, 1, 1, 2);
    layout->addWidget(new QLabel(ToQt("\xB9\xA4\xB3\xCC\xC2\xB7\xBE\xB6\xA3\xBA"), this), 1,
                      0);  // 工程路径：
    layout->addWidget(m_path, 1, 1);
    layout->addWidget(m_browse, 1, 2);
    layout->addWidget(new QLabel(ToQt("\xB9\xA4\xB3\xCC\xC0\xE0\xD0\xCD\xA3\xBA"), this), 2,
                      0);  // 工程类型：
    layout->addWidget(m_type, 2, 1, 1, 2);
    layout->addWidget(buttons, 3, 0, 1, 3);
    layout->setColumnMinimumWidth(1, 260);
}

std::string CNewProjectDlg::Name() const {
    return FromQt(m_name->text());
}
std::string CNewProjectDlg::Path() const {
    return FromQt(m_path->text());
}
std::string CNewProjectDlg::Type() const {
    return m_type->currentIndex() < 0 ? std::string() : FromQt(m_type->currentText());
}

void CNewProjectDlg::Browse() {
    // A cancelled browser empties the edit.
    m_path->setText(BrowseForFolder(this, ToQt(kBrowseProjectFolderTitle)));
}

void CNewProjectDlg::accept() {
    std::string message = CheckNewProject(Name(), Path(), Type());
    if (!message.empty()) {
        ShowMessage(message);
        return;
    }
    if (Status made = MakeProjectFolder(Path(), Name()); !made) {
        ShowMessage(made.Message());
        return;
    }
    QDialog::accept();
}

}  // namespace quarrant
