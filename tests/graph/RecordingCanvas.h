#pragma once
// A canvas that keeps what is written on it: every text with its top-left corner
// (in the canvas' coordinates, as TextOut gets it) and nothing else. The graph's
// drawing routines draw on it as on any page, so a test can read the texts they
// place without telling pixels of letters apart.
#include "platform/qt/Canvas.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <string>
#include <vector>

namespace zeko::test {

struct RecordedText {
    std::string Text;
    int X = 0, Y = 0;  // the baseline's start, as the painter gets it
};

class TextRecordingDevice : public QPaintDevice {
public:
    TextRecordingDevice(int width, int height) : width_(width), height_(height) {}
    QPaintEngine* paintEngine() const override { return &engine_; }
    std::vector<RecordedText> Texts() const { return engine_.texts; }
    void Clear() { engine_.texts.clear(); }

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth: return width_;
        case PdmHeight: return height_;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        case PdmNumColors: return 1 << 24;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        default: return 0;
        }
    }

private:
    struct Engine : QPaintEngine {
        Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawRects(const QRect*, int) override {}
        void drawRects(const QRectF*, int) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawPolygon(const QPoint*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF& p, const QTextItem& item) override {
            const QPointF at = painter()->transform().map(p);
            texts.push_back({item.text().toStdString(), int(at.x()), int(at.y())});
        }
        Type type() const override { return QPaintEngine::User; }
        std::vector<RecordedText> texts;
    };
    int width_, height_;
    mutable Engine engine_;
};

// A canvas bound to a recording device of the given size.
struct RecordingCanvas {
    RecordingCanvas(int width, int height) : device(width, height), painter(&device) { canvas.BeginPaint(&painter); }
    ~RecordingCanvas() {
        canvas.EndPaint();
        painter.end();
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const RecordedText& t : device.Texts())
            texts.push_back(t.Text);
        return texts;
    }
    bool Has(const std::string& text) const {
        const auto all = Texts();
        return std::find(all.begin(), all.end(), text) != all.end();
    }
    // The first text equal to `text`; Text empty when there is none.
    RecordedText Find(const std::string& text) const {
        for (const RecordedText& t : device.Texts())
            if (t.Text == text)
                return t;
        return {};
    }

    TextRecordingDevice device;
    QPainter painter;
    TCanvas canvas;
};

} // namespace zeko::test
