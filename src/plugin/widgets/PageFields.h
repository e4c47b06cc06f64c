#pragma once

// The input fields of the page and the component dialog: combo boxes with an edit field that
// keep what the user types as typed (no completion, nothing added to the list on Enter).

#include <QComboBox>
#include <QLatin1String>

#include <string>
#include <string_view>

#include "platform/QtText.h"

namespace quarrant {

inline QComboBox* MakeField(QWidget* parent, const char* objectName) {
    auto* field = new QComboBox(parent);
    field->setObjectName(QLatin1String(objectName));
    field->setEditable(true);
    field->setInsertPolicy(QComboBox::NoInsert);
    field->setCompleter(nullptr);
    field->setCurrentIndex(-1);
    return field;
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

}  // namespace quarrant
