#include "core/Zeko.h"

namespace zeko {

TZEKO* CurrentState = nullptr;
TZEKO* EditedSettings = nullptr;

void TZEKO::AssignTo(TZEKO& dest) const {
    dest.OutputCount = OutputCount;
    dest.OutputTypes = OutputTypes;
    dest.OutputValues = OutputValues;
    dest.SmallestOutput = SmallestOutput;
    dest.SumC = SumC;
    dest.SumC2 = SumC2;
    dest.DischargeTimes = DischargeTimes;
    dest.FaultOutput = FaultOutput;
    dest.FaultDelay = FaultDelay;
    dest.MeterConstants = MeterConstants;
    dest.InputFunctions = InputFunctions;
    dest.AveragingIndex = AveragingIndex;
    dest.NonAveragedPulse = NonAveragedPulse;
    dest.SpeedUnder = SpeedUnder;
    dest.SpeedOver = SpeedOver;
    dest.SpeedType = SpeedType;
    dest.BandLow = BandLow;
    dest.BandHigh = BandHigh;
    dest.BandCentre = BandCentre;
    dest.Band2Low = Band2Low;
    dest.Band2High = Band2High;
    dest.Band2Centre = Band2Centre;
    dest.UseBand2 = UseBand2;
    dest.Band2Start = Band2Start;
    dest.Band2End = Band2End;
    dest.Switches = Switches;
    dest.SensitivityIndex = SensitivityIndex;
    dest.UnderWait = UnderWait;
}

} // namespace zeko
