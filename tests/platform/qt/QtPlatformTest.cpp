#include "platform/qt/QtJpeg.h"
#include "platform/qt/QtMainThread.h"
#include "platform/qt/QtNotifier.h"

#include "support/QtApp.h"
#include "support/TempDir.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>

#include <gtest/gtest.h>

#include <algorithm>

#include <atomic>
#include <thread>

using namespace zeko;

using zeko::test::ProcessEventsUntil;

QApplication& App() { return zeko::test::QtApp(); }

TEST(QtMainThread, CallsFromOtherThreadsRunInTheEventLoop) {
    App();
    QtMainThread queue;
    std::atomic<bool> synced{false};
    std::thread::id ranIn;
    int posted = 0;
    std::thread worker([&] {
        queue.Post(&queue, [&] { ++posted; });
        EXPECT_TRUE(queue.Synchronize(&queue, [&] { ranIn = std::this_thread::get_id(); }));
        synced = true;
    });
    EXPECT_TRUE(ProcessEventsUntil([&] { return synced.load(); }));
    worker.join();
    EXPECT_EQ(posted, 1);
    EXPECT_EQ(ranIn, std::this_thread::get_id());
}

TEST(QtMainThread, CancelledCallsNeverRun) {
    App();
    QtMainThread queue;
    int owner = 0;
    bool ran = false;
    queue.Post(&owner, [&] { ran = true; });
    queue.CancelFor(&owner);
    App().processEvents();
    EXPECT_FALSE(ran);
}

TEST(QtJpeg, ImageConvertsBothWaysAndMissingFileLeavesThePicture) {
    App();
    TRgbImage image;
    image.Resize(4, 2);
    image.Pixel(3, 1)[0] = 250;
    const QImage q = ToQImage(image);
    EXPECT_EQ(q.size(), QSize(4, 2));
    EXPECT_EQ(qRed(q.pixel(3, 1)), 250);
    EXPECT_EQ(FromQImage(q).Rgb, image.Rgb);
    QImage picture(1, 1, QImage::Format_RGB888);
    EXPECT_FALSE(LoadJpegPicture("/nonexistent/logo.jpg", picture));
    EXPECT_EQ(picture.size(), QSize(1, 1));
}

TEST(QtNotifier, FiltersBecomeQtFilters) {
    EXPECT_EQ(QtFileFilter("Nastavení|*.set|Vše|*.set;*.txt"), "Nastavení (*.set);;Vše (*.set *.txt)");
    EXPECT_EQ(QtFileFilter(""), "");
}

// Month files come from other machines in any letter case; the viewer's pattern
// "m*zek" finds them all, and the user sees the filter's description as written.
TEST(QtNotifier, TheOpenDialogMatchesPatternsWhateverTheCase) {
    App();
    test::TempDir dir;
    for (const char* name : {"Mesic03.zek", "MESIC04.ZEK", "mesic05.zek", "Mesic06.zek.bak", "data.txt", "Rok.zek"})
        dir.Write(name, "");
    TFileDialogRequest request;
    request.Filter = "Datové soubory ZEKO (*.zek)|m*zek|";
    request.InitialDir = dir.Path();
    const std::unique_ptr<QFileDialog> dialog = MakeOpenFileDialog(request);
    auto* model = dialog->findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    const QModelIndex root = model->index(QString::fromStdString(dir.Path()));
    auto shown = [&] {
        QStringList names;
        for (int row = 0; row < model->rowCount(root); ++row)
            names << model->index(row, 0, root).data().toString();
        names.sort();
        return names;
    };
    const QStringList expected{"MESIC04.ZEK", "Mesic03.zek", "mesic05.zek"};
    EXPECT_TRUE(ProcessEventsUntil([&] { return shown() == expected; })) << shown().join(" ").toStdString();
    auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    EXPECT_EQ(types->currentText().toStdString(), "Datové soubory ZEKO (*.zek)");
}
