// iconpic FOLDER: draws the program's icon at the sizes of the desktop's icon theme
// into FOLDER/hicolor/<n>x<n>/apps/zeko.png. The build runs it; `cmake --install`
// puts the pictures in place.
#include "app/ProgramIcon.h"

#include <QDir>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: iconpic FOLDER\n");
        return 2;
    }
    for (int size : zeko::ProgramIconSizes) {
        const QString folder = QString("%1/hicolor/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        if (!QDir().mkpath(folder) || !zeko::DrawProgramIcon(size).save(folder + "/zeko.png")) {
            std::fprintf(stderr, "iconpic: cannot write %s/zeko.png\n", folder.toLocal8Bit().constData());
            return 1;
        }
    }
    return 0;
}
