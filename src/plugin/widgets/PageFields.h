#pragma once

// The input fields of the page and the component dialog — combo boxes with an edit field that
// keep what the user types as typed (no completion, nothing added to the list on Enter) — and
// the page's line buttons.

#include <QCheckBox>
#include <QComboBox>
#include <QLatin1String>

#include <string>
#include <string_view>

#include "platform/QtText.h"
#include "plugin/PageTexts.h"

namespace quarrant {

// A long name in a field's list never widens the field: the page must stay inside its pane.
inline QComboBox* ConfigureField(QComboBox* field, const char* objectName) {
    field->setObjectName(QLatin1String(objectName));
    field->setEditable(true);
    field->setInsertPolicy(QComboBox::NoInsert);
    field->setCompleter(nullptr);
    field->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    field->setMinimumContentsLength(4);
    field->setCurrentIndex(-1);
    return field;
}

inline QComboBox* MakeField(QWidget* parent, const char* objectName) {
    return ConfigureField(new QComboBox(parent), objectName);
}

// The field's text (GBK).
inline std::string FieldText(const QComboBox* field) {
    return FromQt(field->currentText());
}

// Puts a text into the field; its list entry becomes current when it has one, so that the
// list opens at it.
inline void SetFieldText(QComboBox* field, std::string_view gbk) {
    const QString text = ToQt(gbk);
    field->setCurrentIndex(field->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    field->setEditText(text);
}

// A line's button: checked with the line's summary (also its tool tip, as the summary may be
// wider than the page), or, for an empty summary, unchecked with "←点击进入数据输入窗口".
inline void ShowLine(QCheckBox* button, std::string_view summary) {
    const bool set = !summary.empty();
    button->setChecked(set);
    button->setText(ToQt(set ? summary : std::string_view(kComponentButtonCaption)));
    button->setToolTip(set ? button->text() : QString());
}

}  // namespace quarrant
