#pragma once
// TArchivForm: the MDI child "Archiv", one stored day as a day graph. Inputs 0, 1
// and 2 are the three upper series, and the power factor computed from them the
// band under the graph; each record becomes one point per series at the first
// minute of its quarter-hour window. The tool bar at the bottom changes the style,
// shows the whole day again, switches the band and steps a day back or on. The
// main window creates the window and calls Setup; WM_SHOW_ARCHIVE (WParam the
// day, LParam the channel id) shows a day. ArchiveOpen is set while it exists.
//
// A day is read before anything of the shown one is dropped: when a month file
// cannot be read the user is told so and the window keeps the day it showed.
#include "core/GraphView.h"
#include "graph/FullOkno.h"
#include "platform/DateTime.h"
#include "platform/Graphics.h"
#include "platform/WindowMessages.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QToolButton;

namespace zeko {

// The maximum choice and user maximum every loaded day starts with; nothing in
// the program changes them from zero, so a day starts at "Tech. maximum".
struct TGraphDefaults {
    uint8_t MaxChoice = 0;
    int UserMax = 0;
};
extern TGraphDefaults GraphDefaults;

class TArchivForm : public QWidget, public MessageTarget {
    Q_OBJECT
public:
    // The window lays itself out for the main window's MDI client area.
    explicit TArchivForm(const TRect& mdiClientRect, QWidget* parent = nullptr);
    ~TArchivForm() override;

    QWidget* ToolBar1 = nullptr;
    QToolButton* SpeedLines = nullptr;
    QToolButton* SpeedStep = nullptr;
    QToolButton* SpeedBar = nullptr;
    QToolButton* SpeedZoom = nullptr;
    QToolButton* SpeedCosFi = nullptr;
    QToolButton* SpeedOpen = nullptr;  // the date dialog
    QToolButton* SpeedLeft = nullptr;
    QToolButton* SpeedRight = nullptr;
    QToolButton* PrintSetup = nullptr;
    QToolButton* Print = nullptr;
    QToolButton* SpeedSave = nullptr;
    QToolButton* SpeedSend = nullptr;
    QToolButton* SpeedView = nullptr;
    graph::TFullOkno* Graph = nullptr;

    static constexpr int ToolBarHeight = 28;
    // The outer size of the window restored from maximised.
    static constexpr int DesignWidth = 696, DesignHeight = 480;

    bool SetUpDone = false;
    bool ComputeCosPhi = true;
    TGraphView View;
    TDateTime Day = 0;
    std::array<double, GraphSeriesCount> SeriesMax{};  // entries 0..3 hold series 1..4
    double LowestValue = 0;
    // Runs after each day is shown (the program's test log).
    std::function<void()> OnDayLoaded;

    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }

    // Once, right after creation; Load shows today and puts the cursor on its last
    // quarter hour.
    void Setup(bool Load);
    // Reads Day from the month files into the graph. EInOutError when a month file
    // cannot be read; the graph then keeps what it showed.
    void LoadDay();
    // Shows that day (the date dialog's choice, the day steps, WM_SHOW_ARCHIVE); a
    // day that cannot be read is reported and the shown day stays. False then.
    bool ShowDay(TDateTime day);
    // The graph's page or picture of the shown day (Mode as the graph's Print, in
    // colour, the first input's unit), its header filled from what the program knows
    // now: the measurement, the day, the site of "Zeko.ini", the regulator's type and
    // serial number when they were read, the program's version.
    bool PrintGraph(int Mode, bool ToPicture, const std::string& FileName);
    void FillGraphHeader();
    // The inputs of the view as the date dialog lists them.
    std::vector<std::string> DialogInputs() const;

    void HandleMessage(const TMessage& message) override;
    void WMShowArchive(const TMessage& message);

    void SpeedLinesClick();
    void SpeedStepClick();
    void SpeedBarClick();
    void SpeedZoomClick();
    void SpeedCosFiClick();
    // The day of the user's choice in the date dialog, which marks the days with
    // records of the view's inputs.
    void SpeedOpenClick();
    void SpeedLeftClick();
    void SpeedRightClick();

    // The window and the graph as they are shown.
    QImage Picture();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateToolBar();
    void SetHints();
    void TakeChannelInfo(int series);

    int clientWidth_;
    int clientHeight_;
};

} // namespace zeko
