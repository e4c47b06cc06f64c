#include "app/widgets/XunwenDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/SettingsFiles.h"
#include "platform/QtText.h"

namespace quarrant {

CXunwenDlg::CXunwenDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("XunwenDlg"));
    setWindowTitle(ToQt("\xD1\xAF\xCE\xCA\xB6\xD4\xBB\xB0\xBF\xF2"));  // 询问对话框
    auto* text = new QLabel(ToQt(kSaveQuestionText), this);
    text->setObjectName(QStringLiteral("QuestionText"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* yes = buttons->addButton(ToQt("\xCA\xC7"), QDialogButtonBox::AcceptRole);  // 是
    QPushButton* no = buttons->addButton(ToQt("\xB7\xF1"), QDialogButtonBox::RejectRole);   // 否
    yes->setObjectName(QStringLiteral("YesButton"));
    no->setObjectName(QStringLiteral("NoButton"));
    yes->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
}

}  // namespace quarrant
