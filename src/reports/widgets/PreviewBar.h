#pragma once

// The bar above the print preview (dialog 173): 打印, 下一页, 上一页, 放大, 缩小 and 关闭 as
// mapped-bitmap buttons, each sending its preview command.

#include <QImage>
#include <QWidget>

#include <functional>
#include <map>

namespace quarrant {

class CMappedBitmapButton;

// Commands of the preview bar.
inline constexpr int kCmdPreviewClose = 58112;
inline constexpr int kCmdPreviewNext = 58114;
inline constexpr int kCmdPreviewPrevious = 58115;
inline constexpr int kCmdPreviewPrint = 58116;
inline constexpr int kCmdPreviewZoomIn = 58117;
inline constexpr int kCmdPreviewZoomOut = 58118;

// The bitmap of a preview bar button (its resource is the command): four parts of the same
// size, normal, pressed, focused and disabled, painted in the standard button colours. A null
// image for any other resource.
QImage PreviewBarBitmap(int resource);

class CPreviewBar : public QWidget {
    Q_OBJECT

public:
    explicit CPreviewBar(QWidget* parent = nullptr);

    CMappedBitmapButton* Button(int command) const;
    // Enables each button as the function says.
    void UpdateStates(const std::function<bool(int command)>& enabled);

signals:
    void Command(int command);

private:
    std::map<int, CMappedBitmapButton*> m_buttons;
};

}  // namespace quarrant
