// Leaves a picture of each view of the main window with a loaded log in the
// build folder (artifacts/companion-*.png), to be looked at, not compared.

#include "ChartPanel.h"
#include "TestEnvironment.h"
#include "WindowTestSupport.h"

#include <QDir>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

QStringList monthsOfLog() {
    const char* users[] = {"anna", "bob", "carl", "dora"};
    const char* names[] = {"Office", "Home ISP", "Telia Dial"};
    QStringList lines;
    for (int i = 0; i < 48; ++i)
        lines << QStringLiteral("%1;2000-%2-%3;%4:15:00;%5;%6,%7;1,20;3,40;%8")
                     .arg(QString::fromLatin1(users[i % 4]))
                     .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                     .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                     .arg(8 + i % 12, 2, 10, QLatin1Char('0'))
                     .arg(5 + (i * 37) % 90)
                     .arg(2 + (i * 13) % 40)
                     .arg((i * 7) % 100, 2, 10, QLatin1Char('0'))
                     .arg(QString::fromLatin1(names[i % 3]));
    return lines;
}

TEST(WindowScreenshotTest, EachViewIsPaintedWithTheLoadedLog) {
    WindowTest::Rig rig;
    const QString log = rig.dir.filePath("access.txt");
    WindowTest::writeLog(log, monthsOfLog());
    rig.setSlot(1, log);
    auto w = rig.window();
    w->FormCreate();
    w->resize(900, 600);
    const QString folder = QDir(TestEnvironment::binDir()).absoluteFilePath("../artifacts");
    ASSERT_TRUE(QDir().mkpath(folder));
    const std::pair<CompanionView, const char*> views[] = {{CompanionView::Outline, "outline"},
                                                           {CompanionView::Report, "report"},
                                                           {CompanionView::Connections, "list"},
                                                           {CompanionView::Chart, "chart"}};
    for (const auto& [view, name] : views) {
        w->showView(view);
        const QPixmap shot = w->grab();
        const QString file = folder + QStringLiteral("/companion-%1.png").arg(name);
        EXPECT_TRUE(shot.save(file)) << file.toStdString();
    }
    // The chart picture shows the first slice colour somewhere.
    const QImage chart = w->Graphpanel()->grab().toImage();
    bool blue = false;
    for (int y = 0; y < chart.height() && !blue; y += 3)
        for (int x = 0; x < chart.width() && !blue; x += 3)
            blue = chart.pixelColor(x, y) == QColor(0, 0, 255);
    EXPECT_TRUE(blue);
}

} // namespace
