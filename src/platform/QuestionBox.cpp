#include "platform/QuestionBox.h"

#include <QMessageBox>
#include <QPushButton>

#include "platform/ModalDialog.h"
#include "platform/QtText.h"

namespace quarrant {

bool AskYesNo(QWidget* parent, const std::string& gbkQuestion) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Quarrant"), ToQt(gbkQuestion),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName(QStringLiteral("QuestionBox"));
    box.button(QMessageBox::Yes)->setText(ToQt("\xCA\xC7"));  // 是
    box.button(QMessageBox::No)->setText(ToQt("\xB7\xF1"));   // 否
    box.setDefaultButton(QMessageBox::No);
    int answer = ExecModal(box);
    return answer == QMessageBox::Yes || box.clickedButton() == box.button(QMessageBox::Yes);
}

}  // namespace quarrant
