#pragma once

// The ask dialog: "工程数据已经更改，是否要保存工程？" with "是" (accepted) and "否" (rejected).

#include <QDialog>

namespace quarrant {

class CXunwenDlg : public QDialog {
    Q_OBJECT

public:
    explicit CXunwenDlg(QWidget* parent = nullptr);
};

}  // namespace quarrant
