#pragma once

// Where the calculator and keyboard pop-ups go against their combo box (screen coordinates;
// right and bottom edges one past the last pixel, as window rectangles are): below it when its
// bottom edge is at y 530 or less, else above it; right-aligned with it when its left edge is at
// rightAlignFromX or more, else left-aligned.

namespace quarrant {

inline constexpr int kPopupBelowMaxBottom = 530;
inline constexpr int kComputeRightAlignFromX = 100;
inline constexpr int kJianPanRightAlignFromX = 450;

struct PopupOrigin {
    int x;
    int y;
};

inline PopupOrigin PlacePopup(int anchorLeft, int anchorTop, int anchorRight, int anchorBottom,
                              int popupWidth, int popupHeight, int rightAlignFromX) {
    PopupOrigin origin{};
    origin.y = anchorBottom <= kPopupBelowMaxBottom ? anchorBottom : anchorTop - popupHeight;
    origin.x = anchorLeft >= rightAlignFromX ? anchorRight - popupWidth : anchorLeft;
    return origin;
}

}  // namespace quarrant
