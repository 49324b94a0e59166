#pragma once
// The small pictures of the archive window's tool bar, drawn by the program: a
// line, a step and a bar chart, the whole day, a calendar, a day back and on,
// the printer set-up, the printer, a disk and an envelope.
#include <QImage>

namespace zeko {

enum class TArchivGlyph { Lines, Steps, Bars, WholeDay, Calendar, Back, Forward, PrintSetup, Print, Save, Send };

constexpr int ArchivGlyphSize = 16;
QImage ArchivGlyphImage(TArchivGlyph glyph);

} // namespace zeko
