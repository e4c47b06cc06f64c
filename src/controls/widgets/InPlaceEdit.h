#pragma once

// The edit box the grid opens over a cell for in-place editing. It reports its text and the
// key that ended it to the grid once, then goes away.

#include <QLineEdit>
#include <QPointer>

namespace quarrant {

class CGridCtrl;

class CInPlaceEdit : public QLineEdit {
    Q_OBJECT

public:
    // startKey: kEditStartDoubleClick, kEditStartCharacter or the Qt key that started the edit;
    // firstChars replace the selected text when the edit was started by typing.
    CInPlaceEdit(CGridCtrl* grid, QWidget* parent, const QRect& rect, unsigned format,
                 const QFont& font, const QString& text, int row, int col, int startKey,
                 const QString& firstChars);

    // Ends the edit with the key (0: loss of focus), reporting to the grid once.
    void EndEdit(int key);
    // The grid is going away: end silently.
    void Detach() {
        m_grid = nullptr;
        m_ended = true;
    }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Widen();

    QPointer<CGridCtrl> m_grid;
    int m_row;
    int m_col;
    int m_startKey;
    QString m_initialText;
    int m_minimumWidth;
    bool m_ended = false;
};

}  // namespace quarrant
