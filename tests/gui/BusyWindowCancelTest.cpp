// The desktop busy window while a help compiler runs: work that polls it gets a Cancel button,
// a click on it reaches the work, and no other window takes input until the work ends.
#include "gui/GuiTestSupport.h"

#include "app/host/QtBusyWindow.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

// Queues a click on the widget, as the window system delivers one.
void queueClick(QWidget* widget) {
    const QPointF centre = widget->rect().center();
    const QPointF global = widget->mapToGlobal(centre);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(widget, new QMouseEvent(type, centre, global, Qt::LeftButton,
                                                            type == QEvent::MouseButtonPress ? Qt::LeftButton
                                                                                             : Qt::NoButton,
                                                            Qt::NoModifier));
}

TEST(BusyWindowCancel, PollingWorkGetsACancelButtonThatAloneTakesInput) {
    ensureApplication();
    QPushButton other(QStringLiteral("Close the editor"));
    int otherClicks = 0;
    QObject::connect(&other, &QPushButton::clicked, [&] { ++otherClicks; });
    other.show();
    app::QtBusyWindow busy;
    busy.SetTitle("Creating Help files");
    busy.Show();
    EXPECT_TRUE(busy.cancelButton()->isHidden());

    EXPECT_FALSE(busy.pollCancel());
    EXPECT_FALSE(busy.cancelButton()->isHidden());
    queueClick(&other);
    EXPECT_FALSE(busy.pollCancel());
    QCoreApplication::processEvents(); // nothing of the click is left to deliver later
    EXPECT_EQ(otherClicks, 0);

    queueClick(busy.cancelButton());
    bool cancelled = false;
    for (int i = 0; i < 50 && !cancelled; ++i)
        cancelled = busy.pollCancel();
    EXPECT_TRUE(cancelled);

    busy.Hide();
    EXPECT_TRUE(busy.cancelButton()->isHidden());
    queueClick(&other); // the work has ended: the other window takes input again
    QCoreApplication::processEvents();
    EXPECT_EQ(otherClicks, 1);
}

} // namespace
} // namespace corvane::test
