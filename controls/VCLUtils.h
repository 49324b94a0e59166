#pragma once
// Drawing and window helpers the controls share: embossed (disabled) pictures, the
// drag frame shown over the whole screen, rectangle tests, text shortened with
// "...", and whether one of the program's windows is the active one.
#include <QImage>

#include <memory>
#include <string>

#include "platform/Graphics.h"
#include "platform/qt/Canvas.h"

namespace zeko {

// The embossed look of a picture, of the same size: the back colour, and where the
// source has the outline colour (white for a monochrome source) the shadow colour,
// with a copy in the highlight colour one pixel down and right beneath it when
// drawHighlight is set. The caller owns the result.
std::unique_ptr<TBitmap> MakeDisabledBitmapEx(const TBitmap& source, TColor outline, TColor back, bool drawHighlight,
                                              TColor shadow, TColor highlight);
// The same on the button face in the button's shadow and highlight colours.
std::unique_ptr<TBitmap> MakeDisabledBitmap(const TBitmap& source, TColor outline);
// Draws image `index` of the list embossed at (x, y): its opaque pixels in the gray
// colour, over a copy in the highlight colour one pixel down and right when
// drawHighlight is set.
void DrawDisabledImage(const TImageList& images, TCanvas& canvas, int x, int y, int index, TColor highlight,
                       TColor gray, bool drawHighlight);

// The drag frame: `width` nested dotted rectangles shown over every window at the
// screen rectangle r; showing the same frame again takes it away, as drawing an
// inverted frame twice restores the screen. Nothing for a width below 1.
void DrawXorFrame(const TRect& r, int width);
// How many drag frames are on the screen.
int XorFramesShown();

int RectWidth(const TRect& r);
int RectHeight(const TRect& r);
// The right and bottom edges count as inside.
bool PointInRect(const TPoint& p, const TRect& r);

// The text, or its start followed by "..." (or "..." alone), whichever first fits
// into maxWidth on the canvas: the start drops two characters first, then one at a time.
std::string EllipsisText(const std::string& text, const TCanvas& canvas, int maxWidth);
// The resource strings of the controls are the texts themselves.
std::string ResString(const std::string& text);
// One of the program's windows is the active window.
bool IsOwnWindowActive();

// A copy of the picture whose pixels of the transparent colour let through what
// lies beneath when it is drawn.
QImage TransparentImage(const QImage& picture, TColor transparent);

} // namespace zeko
