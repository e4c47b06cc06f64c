#pragma once

// CMappedBitmapButton: an owner-drawn push button showing one of four images cut from one
// bitmap of four equal-width parts (normal, pressed, focused, disabled). The bitmap's standard
// button colours are mapped to the current ones when it is loaded, and again when the desktop
// colours change. The report preview's bar is made of them.

#include <QAbstractButton>
#include <QImage>

#include <functional>
#include <vector>

namespace quarrant {

class CMappedBitmapButton : public QAbstractButton {
    Q_OBJECT

public:
    // Where bitmap resources come from: an image of four equal-width parts, or a null image.
    using BitmapSource = std::function<QImage(int resource)>;

    explicit CMappedBitmapButton(QWidget* parent = nullptr);

    static void SetBitmapSource(BitmapSource source);

    // Replaces the images with the four parts of the bitmap resource. False (and no images)
    // when there is no such bitmap.
    bool LoadBitmap(int resource);
    // The resource last loaded, -1 when none.
    int BitmapResource() const { return m_resource; }
    int ImageCount() const { return static_cast<int>(m_images.size()); }
    const QImage& Image(int index) const { return m_images[static_cast<std::size_t>(index)]; }

    // The image drawing picks now: 1 pressed, 2 focused, 3 disabled, else 0.
    int CurrentImage() const;

    // The bitmap with its standard colours (black, grey 128, grey 192, white) mapped to the
    // palette's button text, shadow, face and highlight colours.
    static QImage MapSystemColors(const QImage& bitmap, const QPalette& palette);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::vector<QImage> m_images;
    int m_resource = -1;
};

}  // namespace quarrant
