#include "reports/widgets/MappedBitmapButton.h"

#include <QEvent>
#include <QPainter>

#include "reports/widgets/PreviewBar.h"

namespace quarrant {

namespace {

// The program's bitmaps are those of the preview bar unless told otherwise.
CMappedBitmapButton::BitmapSource& Source() {
    static CMappedBitmapButton::BitmapSource source = &PreviewBarBitmap;
    return source;
}

}  // namespace

CMappedBitmapButton::CMappedBitmapButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::TabFocus);
}

void CMappedBitmapButton::SetBitmapSource(BitmapSource source) {
    Source() = std::move(source);
}

QImage CMappedBitmapButton::MapSystemColors(const QImage& bitmap, const QPalette& palette) {
    QImage image = bitmap.convertToFormat(QImage::Format_ARGB32);
    const QRgb from[] = {qRgb(0, 0, 0), qRgb(128, 128, 128), qRgb(192, 192, 192),
                         qRgb(255, 255, 255)};
    const QRgb to[] = {palette.color(QPalette::ButtonText).rgb(),
                       palette.color(QPalette::Dark).rgb(), palette.color(QPalette::Button).rgb(),
                       palette.color(QPalette::Light).rgb()};
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            for (int i = 0; i < 4; ++i) {
                if (line[x] == from[i]) {
                    line[x] = to[i];
                    break;
                }
            }
        }
    }
    return image;
}

bool CMappedBitmapButton::LoadBitmap(int resource) {
    m_images.clear();
    m_resource = -1;
    const QImage bitmap = Source() ? Source()(resource) : QImage();
    if (bitmap.isNull() || bitmap.width() < 4) {
        update();
        return false;
    }
    const QImage mapped = MapSystemColors(bitmap, palette());
    const int partWidth = mapped.width() / 4;
    for (int part = 0; part < 4; ++part) {
        m_images.push_back(mapped.copy(part * partWidth, 0, partWidth, mapped.height()));
    }
    m_resource = resource;
    updateGeometry();
    update();
    return true;
}

int CMappedBitmapButton::CurrentImage() const {
    if (isDown()) {
        return 1;
    }
    if (hasFocus()) {
        return 2;
    }
    if (!isEnabled()) {
        return 3;
    }
    return 0;
}

QSize CMappedBitmapButton::sizeHint() const {
    return m_images.empty() ? QSize(23, 20) : m_images.front().size();
}

void CMappedBitmapButton::paintEvent(QPaintEvent*) {
    const int index = CurrentImage();
    if (index >= ImageCount()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_images[static_cast<std::size_t>(index)]);
}

void CMappedBitmapButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange && ImageCount() == 4) {
        LoadBitmap(m_resource);
    } else if (event->type() == QEvent::EnabledChange) {
        update();
    }
    QAbstractButton::changeEvent(event);
}

}  // namespace quarrant
