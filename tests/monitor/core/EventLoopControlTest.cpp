// Ending the event loop of a run with a window: the Exit command and a
// termination signal end the program in order, whatever the status window
// does with a close request.

#include "RealTimeRunner.h"

#include <QApplication>
#include <QCloseEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// Like the status window: a close request only hides it to the tray.
class HidingWindow : public QWidget {
public:
    int closeRequests = 0;

protected:
    void closeEvent(QCloseEvent* event) override {
        ++closeRequests;
        event->ignore();
        hide();
    }
};

TEST(EventLoopControlTest, TerminateEndsTheLoopWithoutClosingTheShownWindow) {
    HidingWindow window;
    window.show();
    EventLoopControl control;
    control.requestTerminate();
    QApplication::exec();
    EXPECT_TRUE(control.terminateRequested());
    // A close request would have run the close box (FormClose) and stored
    // "Visible" false before the orderly end.
    EXPECT_EQ(window.closeRequests, 0);
    EXPECT_TRUE(window.isVisible());
}

} // namespace
