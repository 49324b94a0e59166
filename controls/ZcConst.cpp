#include "controls/ZcConst.h"

#include "platform/qt/Cursors.h"

#include <QPixmap>

// Resources of a static library are registered by hand.
static void InitZcResources() { Q_INIT_RESOURCE(ZcResources); }

namespace zeko {

QImage LoadZcBitmap(const std::string& name) {
    static const bool registered = (InitZcResources(), true);
    (void)registered;
    return QImage(QString::fromStdString(":/zc/" + name + ".xpm"));
}

void InitZcConst() {
    RegisterCursor(crLinkHand, QCursor(QPixmap::fromImage(LoadZcBitmap("ZC_HANDCUR")), 5, 0));
    RegisterCursor(crGrabHand, QCursor(QPixmap::fromImage(LoadZcBitmap("ZC_DRAGCUR")), 10, 10));
}

} // namespace zeko
