#pragma once

// "新建工程对话框": project name, project path (with "..." to browse), project type (a sorted
// list of the project types, nothing chosen at first), "创建" and "取消". "创建" makes the folder
// <path>/<name>; the caller then creates the project in it.

#include <QDialog>

#include <string>

#include "base/HashMap17.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace quarrant {

class CNewProjectDlg : public QDialog {
    Q_OBJECT

public:
    CNewProjectDlg(const HashMap17<std::string, std::string>& projectTypes,
                   QWidget* parent = nullptr);

    // The values (GBK) after "创建".
    std::string Name() const;
    std::string Path() const;
    std::string Type() const;

    QLineEdit* NameEdit() const { return m_name; }          // 1000
    QLineEdit* PathEdit() const { return m_path; }          // 1001
    QPushButton* BrowseButton() const { return m_browse; }  // 1002
    QComboBox* TypeCombo() const { return m_type; }         // 1037
    QPushButton* CreateButton() const { return m_create; }

    // "创建": the empty-field check, then the folder; the dialog stays open on a refusal.
    void accept() override;

private:
    void Browse();

    QLineEdit* m_name = nullptr;
    QLineEdit* m_path = nullptr;
    QPushButton* m_browse = nullptr;
    QComboBox* m_type = nullptr;
    QPushButton* m_create = nullptr;
};

}  // namespace quarrant
