#pragma once
// TMDIImage: a picture painted as the background of a frame window's MDI area.
//
// The MDI area's viewport is covered by the child windows' host, which ordinary
// controls of the form cannot paint on, so the component filters the viewport's
// events and paints the picture in place of the viewport's own background: the
// form's background colour over the whole area and the bitmap at Left, Top (or
// centred). A form without an MDI area has its own background replaced instead.
// Every other event goes on to the window as before. The component is no control
// of the form: it is never laid out or drawn as one.
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <stdexcept>
#include <string>

#include "platform/qt/Canvas.h"

namespace zeko {

class EMDIImageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TMDIImage : public QObject {
public:
    // The owner must be a window and own no other TMDIImage; EMDIImageError
    // otherwise, and then nothing is left on the form.
    explicit TMDIImage(QWidget* owner);
    // Takes away its own filter and nothing else; never raises.
    ~TMDIImage() override;

    // The picture, always held as a bitmap; whoever fills it loads into it.
    TBitmap& PictureBitmap() { return bitmap_; }
    int Left() const { return left_; }
    void SetLeft(int value) { left_ = value; }
    int Top() const { return top_; }
    void SetTop(int value) { top_ = value; }
    int Width() const { return width_; }
    void SetWidth(int value) { width_ = value; }
    int Height() const { return height_; }
    void SetHeight(int value) { height_ = value; }
    bool Center() const { return center_; }
    // The window shows a change at its next repaint.
    void SetCenter(bool value) { center_ = value; }

    // The window whose background is painted: the MDI area's viewport, or the form.
    QWidget* ClientWindow() const { return client_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PaintBackground(QWidget* client);

    QPointer<QWidget> client_;
    TBitmap bitmap_;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool center_ = false;
};

} // namespace zeko
