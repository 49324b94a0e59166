// The boxes the schedule editors show about a history they could not read whole,
// as the program shows them: a picture of each for a person to look at.
#include "dialogs/Tarifyunit.h"
#include "core/HistoryFormat.h"
#include "platform/Notifier.h"
#include "platform/qt/QtNotifier.h"
#include "support/QtApp.h"
#include "support/TempDir.h"
#include "MessageBoxPicture.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace zeko;


TEST(HistoryMessages, TheBoxesAboutADamagedHistoryShowTheirWholeText) {
    test::QtApp();
    test::TempDir dir(true);
    QDir().mkpath(ZEKO_ARTEFACT_DIR);
    std::vector<uint8_t> bytes;
    TTariffTable early;
    early.Zone(0, 1, 1) = {360, 840, ZoneInUse};
    THistoryRecord::Of(EncodeDate(2024, 1, 1), early).AppendBytes(bytes);
    THistoryRecord::Of(EncodeDate(2024, 7, 1), TShiftTable{}).AppendBytes(bytes);
    THistoryRecord::Of(EncodeDate(2024, 3, 15), early).AppendBytes(bytes);
    dir.Write("Tarify.his", std::string(bytes.begin(), bytes.end()));
    QtNotifier qt;
    SetNotifier(&qt);
    QString told, asked;
    test::GrabNextMessageBox(ZEKO_ARTEFACT_DIR "/historie-poskozena.png", "OK", told);
    {
        TTarifyForm form;
        EXPECT_TRUE(told.startsWith(QString::fromUtf8("Chyba při načítání historie tarifů/směn!\n")));
        EXPECT_EQ(form.History.size(), 2u);
        test::GrabNextMessageBox(ZEKO_ARTEFACT_DIR "/historie-prepsat.png", "Ne", asked);
        EXPECT_FALSE(form.MaySaveHistory());
        EXPECT_TRUE(asked.startsWith(QString::fromUtf8("Historie nebyla načtena celá:\n")));
    }
    SetNotifier(nullptr);
}
