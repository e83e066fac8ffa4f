#pragma once

#include <QRect>
#include <QtGlobal>

namespace vellara::platform {

// Window places and sizes are designed in twips: 15 to a pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

inline int twipsToPixels(int twips)
{
    return qRound(double(twips) / kTwipsPerPixel);
}

inline QRect twipsToPixels(const QRect &twips)
{
    return {twipsToPixels(twips.left()), twipsToPixels(twips.top()), twipsToPixels(twips.width()),
            twipsToPixels(twips.height())};
}

// A designed place in twips (left, top, width, height) as a pixel rectangle.
inline QRect designRect(int left, int top, int width, int height)
{
    return twipsToPixels(QRect(left, top, width, height));
}

inline QRect pixelsToTwips(const QRect &pixels)
{
    return {pixels.left() * kTwipsPerPixel, pixels.top() * kTwipsPerPixel, pixels.width() * kTwipsPerPixel,
            pixels.height() * kTwipsPerPixel};
}

} // namespace vellara::platform
