#pragma once

// The settings dialog "设置对话框": the coordinate precision (mm) and the line-angle precision
// (radians), shown with "%f"; on "确定" both take effect at once and Set.ini is rewritten with
// the two texts as typed.

#include <QDialog>

class QLineEdit;

namespace quarrant {

class MessageSink;
class Settings;

class CSetDlg : public QDialog {
    Q_OBJECT

public:
    CSetDlg(Settings& settings, MessageSink& messages, QWidget* parent = nullptr);

    QLineEdit* CoordinateEdit() const { return m_coordinate; }  // edit 1013
    QLineEdit* AngleEdit() const { return m_angle; }            // edit 1028

    void accept() override;

private:
    Settings& m_settings;
    MessageSink& m_messages;
    QLineEdit* m_coordinate = nullptr;
    QLineEdit* m_angle = nullptr;
};

}  // namespace quarrant
