#pragma once
// The archive window over a program directory of the test's own: month files
// written through the record store (every input counts 4 impulses per unit, so a
// value is its impulse count), the four default channels, the program's formats.
#include "app/evaluation/EvaluationRecords.h"
#include "core/MojeDB.h"
#include "core/PripojenaZarizeniUnit.h"
#include "core/ProgramGlobals.h"
#include "core/RecordSaving.h"
#include "graph/archiv.h"
#include "platform/FormatSettings.h"
#include "platform/MainThread.h"
#include "platform/Notifier.h"
#include "platform/ProgramDir.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ImageProbe.h"
#include "QtTestApp.h"

namespace zeko::test {

inline TDateTime Date(int y, int m, int d) { return EncodeDate(y, m, d); }

class ArchiveTest : public ::testing::Test {
protected:
    // The room of the archive in the program's main window at its default size.
    static constexpr TRect MdiClient{0, 0, 1015, 680};

    ArchiveTest() : dir_(true) {
        SetMainThread(&queue_);
        FormatSettings().DecimalSeparator = ',';
        FormatSettings().ShortDateFormat = "dd/mm/yyyy";
        FormatSettings().DateSeparator = '.';
        ResetSysColors();
        devices_.LoadFromIni(ProgramFile("Zarizeni.ini"));
        Devices = &devices_;
        MojeDB = &db_;
    }
    ~ArchiveTest() override {
        form_.reset();
        SetNowOverride(std::nullopt);
        SetMainThread(nullptr);
        Devices = nullptr;
        MojeDB = nullptr;
        OsaKL = OsaZAP = 0;
        Velkoodber.clear();
        OdberneMisto.clear();
        TechMaximum = DefaultTechMaximum;
    }

    // A record of yyyy-mm-dd hh:mi:ss with the values of inputs 0..3.
    void Add(int y, int mo, int d, int h, int mi, int s, std::array<uint16_t, 4> values, uint16_t status = 0x0102) {
        TRegulatorRecord r = ValueRecord(y, mo, d, h, mi, s, values);
        r.Status = status;
        records_.push_back(r);
    }
    void Save() { SaveRecords(records_, ""); }

    // The archive as the main window makes it, set up without a day.
    TArchivForm& Open() {
        form_ = std::make_unique<TArchivForm>(MdiClient);
        form_->Setup(false);
        return *form_;
    }
    graph::TFullOkno& Graph() { return *form_->Graph; }
    std::vector<int> Minutes(const graph::TSet& set) const {
        std::vector<int> minutes;
        for (const graph::TGraphPoint& p : set.Points())
            minutes.push_back(p.Minute);
        return minutes;
    }
    // The value at a minute, NaN when there is no point.
    double ValueAt(const graph::TSet& set, int minute) const {
        for (const graph::TGraphPoint& p : set.Points())
            if (p.Minute == minute)
                return p.Value;
        return std::nan("");
    }
    void KeepPicture(const QImage& picture, const std::string& name) {
        const std::string folder = ZEKO_ARTEFACT_DIR;
        std::filesystem::create_directories(folder);
        EXPECT_TRUE(picture.save(QString::fromStdString(folder + "/" + name + ".png")));
    }

    TempDir dir_;
    PumpedMainThread queue_;
    ScopedLoggingNotifier notifier_;
    TSeznamZarizeni devices_;
    TMojeDB db_;
    TRecordList records_;
    std::unique_ptr<TArchivForm> form_;
};

} // namespace zeko::test
