#include "controls/widgets/InPlaceEdit.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>

#include <algorithm>

#include "controls/GridTypes.h"
#include "controls/widgets/GridCtrl.h"

namespace quarrant {
namespace {

bool IsNavigationKey(int key) {
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left ||
           key == Qt::Key_Right || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
}

}  // namespace

CInPlaceEdit::CInPlaceEdit(CGridCtrl* grid, QWidget* parent, const QRect& rect, unsigned format,
                           const QFont& font, const QString& text, int row, int col, int startKey,
                           const QString& firstChars)
    : QLineEdit(parent),
      m_grid(grid),
      m_row(row),
      m_col(col),
      m_startKey(startKey),
      m_initialText(text),
      m_minimumWidth(rect.width()) {
    setFont(font);
    setFrame(true);
    if ((format & kDtRight) != 0) {
        setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    } else if ((format & kDtCenter) != 0) {
        setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    } else {
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    setGeometry(rect);
    setText(text);
    connect(this, &QLineEdit::textChanged, this, [this] { Widen(); });
    show();
    setFocus(Qt::OtherFocusReason);
    if (startKey == kEditStartDoubleClick || startKey == Qt::Key_Return ||
        startKey == Qt::Key_Enter || startKey == Qt::Key_F2) {
        end(false);
    } else {
        selectAll();
        if (!firstChars.isEmpty()) {
            // The typed characters replace the selected text (CJK characters as well).
            insert(firstChars);
        }
    }
    Widen();
}

void CInPlaceEdit::Widen() {
    // Wide enough for the text and two blanks, up to the right edge of the grid's window.
    const QFontMetrics metrics(font());
    const int needed = metrics.horizontalAdvance(text() + QStringLiteral("  ")) + 8;
    const int limit = parentWidget() != nullptr ? parentWidget()->width() - x() : needed;
    const int width = std::max(m_minimumWidth, std::min(needed, limit));
    if (width != this->width()) {
        resize(width, height());
    }
}

void CInPlaceEdit::EndEdit(int key) {
    if (m_ended) {
        return;
    }
    m_ended = true;
    const QString finalText = text();
    hide();
    deleteLater();
    if (m_grid != nullptr) {
        m_grid->OnEndInPlaceEdit(m_row, m_col, finalText, key);
    }
}

bool CInPlaceEdit::event(QEvent* event) {
    // Tab ends the edit instead of moving the focus to the next widget.
    if (event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (keyEvent->key() == Qt::Key_Tab || keyEvent->key() == Qt::Key_Backtab) {
            keyPressEvent(keyEvent);
            return true;
        }
    }
    return QLineEdit::event(event);
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
    if (key == Qt::Key_Escape) {
        setText(m_initialText);
        EndEdit(key);
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab ||
        key == Qt::Key_Backtab) {
        EndEdit(key);
        return;
    }
    if (IsNavigationKey(key) && (m_startKey != kEditStartDoubleClick || ctrl)) {
        EndEdit(key);
        return;
    }
    QLineEdit::keyPressEvent(event);
    // Keys the box does not use (Up and Down) must not reach the grid behind it.
    event->accept();
}

void CInPlaceEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A pop-up (an input method's candidate list, a context menu) does not end the edit.
    if (event->reason() != Qt::PopupFocusReason) {
        EndEdit(0);
    }
}

}  // namespace quarrant
