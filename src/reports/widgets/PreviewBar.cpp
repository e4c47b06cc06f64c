#include "reports/widgets/PreviewBar.h"

#include <QHBoxLayout>
#include <QPainter>

#include "platform/CommandTables.h"
#include "platform/IconArt.h"
#include "platform/ProgramFont.h"
#include "platform/QtText.h"
#include "reports/widgets/MappedBitmapButton.h"

namespace quarrant {

namespace {

struct BarButton {
    int command;
    int iconCommand;   // the toolbar command whose image it shows
    const char* text;  // GBK
};

const BarButton kBarButtons[] = {
    {kCmdPreviewPrint, kCmdPrint, "\xB4\xF2\xD3\xA1"},                    // 打印
    {kCmdPreviewNext, kCmdNextPage, "\xCF\xC2\xD2\xBB\xD2\xB3"},          // 下一页
    {kCmdPreviewPrevious, kCmdPreviousPage, "\xC9\xCF\xD2\xBB\xD2\xB3"},  // 上一页
    {kCmdPreviewZoomIn, kCmdZoomInPage, "\xB7\xC5\xB4\xF3"},              // 放大
    {kCmdPreviewZoomOut, kCmdZoomOutPage, "\xCB\xF5\xD0\xA1"},            // 缩小
    {kCmdPreviewClose, kCmdClosePreview, "\xB9\xD8\xB1\xD5"},             // 关闭
};

constexpr int kPartWidth = 76;
constexpr int kPartHeight = 26;

// The standard button colours the bitmaps are painted in (mapped when loaded).
const QColor kText(0, 0, 0);
const QColor kShadow(128, 128, 128);
const QColor kFace(192, 192, 192);
const QColor kHighlight(255, 255, 255);

void Bevel(QPainter& p, const QRect& r, bool sunken) {
    const QColor topLeftOuter = sunken ? kText : kHighlight;
    const QColor topLeftInner = sunken ? kShadow : kFace;
    const QColor bottomRightOuter = sunken ? kHighlight : kText;
    const QColor bottomRightInner = sunken ? kFace : kShadow;
    auto lines = [&](const QRect& box, const QColor& topLeft, const QColor& bottomRight) {
        p.setPen(topLeft);
        p.drawLine(box.topLeft(), box.topRight());
        p.drawLine(box.topLeft(), box.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(box.bottomLeft(), box.bottomRight());
        p.drawLine(box.topRight(), box.bottomRight());
    };
    lines(r, topLeftOuter, bottomRightOuter);
    lines(r.adjusted(1, 1, -1, -1), topLeftInner, bottomRightInner);
}

// The icon and the label of a part; disabled: both etched in highlight and shadow.
void Face(QPainter& p, const BarButton& button, const QPoint& offset, bool disabled) {
    const QImage icon =
        CommandIcon(button.iconCommand).pixmap(kToolBarButtonWidth, kToolBarButtonHeight).toImage();
    const QRect iconRect(QPoint(4, 3) + offset, icon.size());
    QFont font = ProgramFont();
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::NoAntialias);  // pure colours, so that they can be mapped
    p.setFont(font);
    const QRect textRect(QPoint(28, 0) + offset, QSize(kPartWidth - 30, kPartHeight));
    if (!disabled) {
        p.drawImage(iconRect, icon);
        p.setPen(kText);
        p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, ToQt(button.text));
        return;
    }
    QImage mask(icon.size(), QImage::Format_ARGB32);
    for (const auto& [colour, shift] : {std::pair{kHighlight, 1}, std::pair{kShadow, 0}}) {
        mask.fill(colour);
        QPainter maskPainter(&mask);
        maskPainter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        maskPainter.drawImage(0, 0, icon);
        maskPainter.end();
        p.drawImage(iconRect.translated(shift, shift), mask);
        p.setPen(colour);
        p.drawText(textRect.translated(shift, shift), Qt::AlignLeft | Qt::AlignVCenter,
                   ToQt(button.text));
    }
}

}  // namespace

QImage PreviewBarBitmap(int resource) {
    const BarButton* button = nullptr;
    for (const BarButton& candidate : kBarButtons) {
        if (candidate.command == resource) {
            button = &candidate;
        }
    }
    if (button == nullptr) {
        return QImage();
    }
    QImage bitmap(4 * kPartWidth, kPartHeight, QImage::Format_ARGB32);
    bitmap.fill(kFace);
    QPainter p(&bitmap);
    for (int part = 0; part < 4; ++part) {
        p.save();
        p.translate(part * kPartWidth, 0);
        const QRect box(0, 0, kPartWidth - 1, kPartHeight - 1);
        const bool pressed = part == 1;
        Bevel(p, box, pressed);
        Face(p, *button, pressed ? QPoint(1, 1) : QPoint(0, 0), part == 3);
        if (part == 2) {
            QPen dots(kText);
            dots.setStyle(Qt::DotLine);
            p.setPen(dots);
            p.drawRect(box.adjusted(3, 3, -3, -3));
        }
        p.restore();
    }
    return bitmap;
}

CPreviewBar::CPreviewBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PreviewBar173"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 3, 4, 3);
    layout->setSpacing(4);
    for (const BarButton& entry : kBarButtons) {
        auto* button = new CMappedBitmapButton(this);
        button->setObjectName(QStringLiteral("PreviewButton%1").arg(entry.command));
        button->setToolTip(ToQt(entry.text));
        button->LoadBitmap(entry.command);
        const int command = entry.command;
        connect(button, &QAbstractButton::clicked, this,
                [this, command] { emit Command(command); });
        layout->addWidget(button);
        m_buttons[entry.command] = button;
    }
    layout->addStretch(1);
}

CMappedBitmapButton* CPreviewBar::Button(int command) const {
    auto found = m_buttons.find(command);
    return found != m_buttons.end() ? found->second : nullptr;
}

void CPreviewBar::UpdateStates(const std::function<bool(int command)>& enabled) {
    for (const auto& [command, button] : m_buttons) {
        button->setEnabled(enabled(command));
    }
}

}  // namespace quarrant
