// The Qt foundation: dialog texts, the paced idle loop, bitmap images over the bitmap's memory.

#include "ui/BitmapImage.h"
#include "ui/Dialogs.h"
#include "ui/IdleLoop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdlib>
#include <gtest/gtest.h>

namespace lv::ui {
namespace {

QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "tests_ui";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv); // never destroyed, as Qt prefers at exit
    return *app;
}

TEST(Dialogs, LineBreaksAndCaptions) {
    EXPECT_EQ(displayText("Unable to start Lumivale Player.\r\nPlease configure!"),
              QStringLiteral("Unable to start Lumivale Player.\nPlease configure!"));
    EXPECT_EQ(displayText("a\rb\nc"), QStringLiteral("a\nb\nc"));
    EXPECT_EQ(messageCaption(MessageKind::Confirmation), QStringLiteral("Confirm"));
    EXPECT_EQ(messageCaption(MessageKind::Error), QStringLiteral("Error"));
}

TEST(IdleLoop, DelayUntilTheNextPass) {
    struct Case {
        int32_t rate;
        uint32_t last, now;
        int32_t delay;
    };
    const Case cases[] = {
        {0, 0, 0, 0},
        {30, 1000, 1000, 33},
        {30, 1000, 1010, 23},
        {30, 1000, 1040, 0},
        {30, 0xFFFFFFF0u, 0x00000004u, 13}, // across a wrap of the tick counter
        {1000, 5, 5, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IdleLoop::delayUntilNextPass(c.rate, c.last, c.now), c.delay) << c.rate;
}

TEST(IdleLoop, RunsPassesUntilOneAsksForNoMore) {
    application();
    for (const int32_t rate : {0, 200}) {
        IdleLoop loop;
        loop.setFrameRate(rate);
        int passes = 0;
        loop.start([&passes] { return ++passes < 5; });
        QElapsedTimer waited;
        waited.start();
        while (loop.running() && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        EXPECT_EQ(passes, 5) << rate;
        EXPECT_FALSE(loop.running());
    }
}

TEST(BitmapImage, SharesTheBitmapsPixels) {
    Bitmap bitmap(3, 2);
    bitmap.at(2, 1) = 0x00123456;
    const QImage image = bitmapImage(static_cast<const Bitmap&>(bitmap));
    EXPECT_EQ(image.constBits(), reinterpret_cast<const uchar*>(bitmap.pixels().data()));
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(2, 1) & 0xFFFFFF, 0x123456u);
    makeOpaque(bitmap);
    EXPECT_EQ(bitmap.at(2, 1), 0xFF123456u);
    EXPECT_TRUE(bitmapImage(Bitmap()).isNull());
}

} // namespace
} // namespace lv::ui
