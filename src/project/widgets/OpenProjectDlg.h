#pragma once

// "添加工程对话框": the folder of an existing project (typed or chosen with "..."), "确定" and
// "取消". The caller loads the folder after "确定".

#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;

namespace quarrant {

class COpenProjectDlg : public QDialog {
    Q_OBJECT

public:
    explicit COpenProjectDlg(QWidget* parent = nullptr);

    std::string Folder() const;  // GBK

    QLineEdit* FolderEdit() const { return m_folder; }      // 1012
    QPushButton* BrowseButton() const { return m_browse; }  // 1002

    void accept() override;

private:
    QLineEdit* m_folder = nullptr;
    QPushButton* m_browse = nullptr;
};

}  // namespace quarrant
