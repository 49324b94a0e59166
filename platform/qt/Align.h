#pragma once
// The class library's alignment of child controls: a control aligned to the top,
// bottom, left or right of its parent takes the whole width (or height) of what is
// left of the parent's area on that side, in the order top, bottom, left, right,
// and one aligned to the client takes the rest. Controls of one side keep their
// order by position. Hidden controls take no room.
//
// A parent that arranges its children itself (TAlignContainer, the speed bar)
// does so with its own area; any other parent is arranged over its whole client
// area whenever it is resized.
#include <QWidget>

#include "platform/Graphics.h"

namespace zeko {

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

// A parent that lays out its aligned children within an area of its own choice.
class TAlignContainer {
public:
    virtual ~TAlignContainer() = default;
    virtual void RealignControls() = 0;
};

TAlign ControlAlign(const QWidget* control);
// Stores the alignment and arranges the parent's children again.
void SetControlAlign(QWidget* control, TAlign align);

// Places the visible aligned children of `parent` inside `area`.
void AlignChildren(QWidget* parent, const TRect& area);
// Arranges the parent's children again, unless its alignment is suspended.
void Realign(QWidget* parent);
// Suspends and resumes a parent's alignment; resuming the last suspension arranges.
void DisableAlign(QWidget* parent);
void EnableAlign(QWidget* parent);

} // namespace zeko
