#include "platform/qt/Cursors.h"

#include <map>

namespace zeko {

namespace {

std::map<int, QCursor>& Table() {
    static std::map<int, QCursor> table;
    return table;
}

} // namespace

void RegisterCursor(int id, const QCursor& cursor) { Table()[id] = cursor; }

QCursor ScreenCursor(int id) {
    const auto it = Table().find(id);
    return it == Table().end() ? QCursor(Qt::ArrowCursor) : it->second;
}

bool HasCursor(int id) { return Table().count(id) != 0; }

} // namespace zeko
