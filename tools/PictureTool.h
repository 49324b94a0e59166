#pragma once
// The frame of the tools that draw a picture of the program and write it as a
// JPEG: "NAME OUTPUT.jpg", a usage line for anything else, a message and exit
// code 1 when the file cannot be written.
#include "platform/qt/QtJpeg.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <string>

namespace zeko {

inline int RunPictureTool(int argc, char** argv, const char* name, QImage (*draw)()) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.jpg\n", name);
        return 2;
    }
    QGuiApplication app(argc, argv);
    std::string error;
    if (!SaveJpegPicture(argv[1], draw(), 90, error)) {
        std::fprintf(stderr, "%s: %s\n", name, error.c_str());
        return 1;
    }
    return 0;
}

} // namespace zeko
