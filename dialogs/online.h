#pragma once
// TOnlineForm: the MDI child "Aktuální hodnoty" showing the regulator's live values
// over its background picture: cos phi, the powers, the outputs, the connected
// power, the regulation and the clocks. It redraws on WM_ONLINE_REFRESH from a
// snapshot of the values (TOnlineValues) that its Source gives; the main window sets
// the source to read CurrentState. While the regulator does not answer the values
// are shown as old: in grey, under a notice of when they were read. OnlineOpen is
// true exactly while it exists.
#include "platform/DateTime.h"
#include "platform/WindowMessages.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QLabel;

namespace zeko {

struct TOnlineValues {
    double CosPhi = 0;
    double ActivePower = 0;    // kW
    double ReactivePower = 0;  // kVAr, negative: capacitive
    int OutputCount = 0;
    uint16_t OutputTypes = 0;  // bit i set: output i + 1 inductive
    std::array<uint16_t, 16> OutputValues{};  // tenths of kVAr
    uint8_t FaultOutput = 0;   // above 0: the fault output is in use
    uint16_t OutputStates = 0;  // bit i set: output i + 1 on; the bit above the last is the fault output
    uint16_t TimeToRegulation = 0;  // 0xFFFF: none
    uint16_t BandWord = 0;
    uint8_t RegulationState = 0;
    uint16_t RecordTime = 0;   // seconds
    TDateTime RegulatorNow = 0;  // the regulator clock advanced to now
    bool RegulatorClockKnown = true;  // false: the regulator sent no valid clock; none is shown
    TDateTime PcNow = 0;
    // The regulator does not answer: the values are the last ones read, at ReadAt
    // (0: none has been read). PortLost: because the serial port went away.
    bool Old = false;
    TDateTime ReadAt = 0;
    bool PortLost = false;
};

class TOnlineForm : public QWidget, public MessageTarget {
    Q_OBJECT
public:
    explicit TOnlineForm(QWidget* parent = nullptr);
    ~TOnlineForm() override;

    // The outer size of the window restored from maximised.
    static constexpr int DesignWidth = 958, DesignHeight = 706;

    std::function<TOnlineValues()> Source;
    // Runs after each refresh (the program's test log reads the labels then).
    std::function<void()> OnRefreshed;
    // The value labels' texts in their order, joined by "|", and the notice of old
    // values when it shows.
    std::string ValuesText() const;

    void HandleMessage(const TMessage& message) override;
    // Redraws every value label from Source (WM_ONLINE_REFRESH).
    void WMOnlineRefresh();
    // The same from given values.
    void Refresh(const TOnlineValues& values);

    const QImage& Picture() const { return picture_; }

    QLabel* Label2 = nullptr;
    QLabel* Lbl_CosFi = nullptr;
    QLabel* Lbl_CinnyVykon = nullptr;
    QLabel* Lbl_IndukcniVykon = nullptr;
    QLabel* Lbl_KapacitniVykon = nullptr;
    QLabel* Lbl_Vystupy = nullptr;
    QLabel* Lbl_AktCasZaznamu = nullptr;
    QLabel* Lbl_CasDoRegulace = nullptr;
    QLabel* Lbl_PasmoRegulace = nullptr;
    QLabel* Lbl_ZnakRegulace = nullptr;
    QLabel* Lbl_PripojenaIndukcnost = nullptr;
    QLabel* Lbl_PripojenaKapacita = nullptr;
    QLabel* Lbl_AktDTRegulatoru = nullptr;
    QLabel* Lbl_AktDTPC = nullptr;
    // Shown only while the values are old.
    QLabel* Lbl_StareHodnoty = nullptr;

    static constexpr int PictureWidth = 1000;
    static constexpr int PictureHeight = 648;

    // The picture: a child window smaller than it scrolls.
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Runs one block of the refresh; a failure shows its message once (not again
    // while the same block keeps failing) and the refresh goes on.
    void Guarded(int block, const char* message, const std::function<void()>& body);
    // Grey values and the notice while they are old, black values without it else.
    void ShowAge(const TOnlineValues& values);
    // The labels of what the regulator reports, in the order of ValuesText (all but
    // the PC clock).
    std::array<QLabel*, 12> RegulatorLabels() const;

    QImage picture_;
    std::array<bool, 6> failing_{};
};

// The texts the window shows, as plain functions.
std::string CosPhiText(double cosPhi);                      // "0.987" whatever the locale
std::string TruncatedText(double value);                     // "12" for 12.7
std::string RegulationStateText(uint8_t code, const std::string& previous);
// "Regulátor neodpovídá. Poslední hodnoty z 05.03.2024 14:03:10"; with the port
// gone "Sériový port je odpojen. Poslední hodnoty z ...".
std::string OldValuesText(TDateTime readAt, bool portLost = false);
struct TOutputsText {
    std::string Letters;
    double Capacitive = 0;  // kVAr switched on
    double Inductive = 0;
};
TOutputsText OutputsText(const TOnlineValues& values);  // EConvertError when the count is no output count

// The room a label of the window gives its text, in the label's coordinates: its
// rectangle less the margin, and less the indent on the side the text is aligned
// to. The label draws its text there and cuts what lies outside.
QRect LabelTextRoom(const QLabel* label);

} // namespace zeko
