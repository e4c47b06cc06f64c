#include "app/widgets/AboutDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "platform/IconArt.h"
#include "platform/QtText.h"

namespace quarrant {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutDlg"));
    setWindowTitle(ToQt("\xB9\xD8\xD3\xDA Quarrant"));  // 关于 Quarrant
    setWindowIcon(ProgramIcon());

    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    auto* name = new QLabel(QStringLiteral("Quarrant"), this);
    auto* version = new QLabel(ToQt(kVersionText), this);
    version->setObjectName(QStringLiteral("VersionText"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok =
        buttons->addButton(ToQt("\xC8\xB7\xB6\xA8"), QDialogButtonBox::AcceptRole);  // 确定
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(name, 0, 1);
    layout->addWidget(version, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setColumnMinimumWidth(1, 200);
}

}  // namespace quarrant
