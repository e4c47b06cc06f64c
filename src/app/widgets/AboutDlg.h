#pragma once

// The about box "关于 Quarrant": the program icon and the version "软件版本：V1.0".

#include <QDialog>

namespace quarrant {

// "软件版本：V1.0"
inline constexpr const char* kVersionText = "\xC8\xED\xBC\xFE\xB0\xE6\xB1\xBE\xA3\xBAV1.0";

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace quarrant
