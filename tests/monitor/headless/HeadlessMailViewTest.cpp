// The mail check's headless lines: each mail log line, each change of the
// new-mail state, and the confirmation answered like any box.

#include "HeadlessMailView.h"
#include "Clock.h"
#include "HeadlessView.h"

#include <gtest/gtest.h>

namespace {

TEST(HeadlessMailViewTest, MailLinesNewMailChangesAndTheConfirmation) {
    ManualClock clock(QDateTime(QDate(2024, 3, 15), QTime(21, 0, 7)));
    QStringList lines;
    HeadlessView view(clock, false, [&](const QString& l) { lines << l; });
    HeadlessMailView mail(view);
    mail.appendMailLog(QStringLiteral("< +OK 3 1200"));
    mail.newMailChanged(3, QStringLiteral("Read 3 new e-mail message(s)"));
    mail.newMailChanged(0, QString());
    ScenarioAnswer cancel;
    cancel.button = ScenarioAnswer::Button::Cancel;
    view.setAnswers({cancel});
    const MailView::Confirmation first =
        mail.confirmMailClient({"Tollwatch", "Start it?", "&Skip", "OK", "Cancel"});
    const MailView::Confirmation second =
        mail.confirmMailClient({"Tollwatch", "Start it?", "&Skip", "OK", "Cancel"});
    EXPECT_FALSE(first.ok);
    EXPECT_TRUE(second.ok);
    EXPECT_FALSE(second.skipInFuture);
    EXPECT_EQ(lines, (QStringList{"2024-03-15 21:00:07\tmail\t< +OK 3 1200",
                                  "2024-03-15 21:00:07\tnewmail\t3\tRead 3 new e-mail message(s)",
                                  "2024-03-15 21:00:07\tnewmail\t0",
                                  "2024-03-15 21:00:07\tbox\tTollwatch\tStart it?\tCancel",
                                  "2024-03-15 21:00:07\tbox\tTollwatch\tStart it?\tOK"}));
}

} // namespace
