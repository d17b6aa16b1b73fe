// Window measures are given in twips (1/1440 inch): 15 twips to a pixel at
// 96 dots per inch.
#pragma once

#include <QPoint>
#include <QSize>

namespace twips {

constexpr int kPerPixel = 15;

constexpr int px(int twips) { return (twips + kPerPixel / 2) / kPerPixel; }
constexpr int fromPx(int pixels) { return pixels * kPerPixel; }
inline QSize size(int w, int h) { return QSize(px(w), px(h)); }
inline QPoint point(int x, int y) { return QPoint(px(x), px(y)); }

}  // namespace twips
