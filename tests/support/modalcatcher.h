// Runs an action that may open a modal message box, and closes the box the
// way a person would, keeping what it said.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>

namespace korvane::test {

struct CaughtBox
{
    bool shown = false;
    QString title;
    QString text;
};

inline CaughtBox runCatchingMessageBox(const std::function<void()> &action)
{
    CaughtBox caught;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        caught = {true, box->windowTitle(), box->text()};
        QTest::keyClick(box, Qt::Key_Return);
    });
    poll.start();
    action();
    poll.stop();
    return caught;
}

} // namespace korvane::test
