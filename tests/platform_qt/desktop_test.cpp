// The desktop services: settings store, message boxes, file dialog filters, timer.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/qt/qt_devices.h"
#include "platform/qt/qt_file_dialogs.h"
#include "platform/qt/qt_message_boxes.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/serial_port.h"

namespace tiderune {
namespace {

TEST(QtSettingsStore, KeepsValuesByTitleSectionAndKeyAcrossInstances) {
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    {
        QtSettingsStore store(path);
        EXPECT_EQ(store.value("Tiderune", "Settings", "MainLeft", "1000"), "1000");
        store.setValue("Tiderune", "Settings", "MainLeft", "2500");
        store.setValue("Tiderune", "Settings", "MonitorLeft 2", "200");
        store.setValue("Tiderune", "Other", "MainLeft", "7");
        store.setValue("Tiderune", "Settings", "Name", "N 52\xB0");  // Latin-1 text
    }
    QtSettingsStore store(path);
    EXPECT_EQ(store.value("Tiderune", "Settings", "MainLeft", "1000"), "2500");
    EXPECT_EQ(store.value("Tiderune", "Settings", "MonitorLeft 2", ""), "200");
    EXPECT_EQ(store.value("Tiderune", "Settings", "MonitorLeft 1", "100"), "100");
    EXPECT_EQ(store.value("Tiderune", "Other", "MainLeft", ""), "7");
    EXPECT_EQ(store.value("Other", "Settings", "MainLeft", "x"), "x");
    EXPECT_EQ(store.value("Tiderune", "Settings", "Name", ""), "N 52\xB0");
}

TEST(SerialDeviceMap, DefaultsAndUserPathsPersist) {
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    {
        QtSettingsStore store(path);
        SerialDeviceMap map(store);
        EXPECT_EQ(map.devicePath(1), "/dev/ttyS0");
        EXPECT_EQ(map.devicePath(16), "/dev/ttyS15");
        map.setDevicePath(3, "/dev/pts/7");
    }
    QtSettingsStore store(path);
    SerialDeviceMap map(store);
    EXPECT_EQ(map.devicePath(3), "/dev/pts/7");
    EXPECT_EQ(map.devicePath(2), "/dev/ttyS1");
}

// Answers the next modal box by pressing Enter, after noting what it shows.
struct BoxSeen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString defaultButton;
};

void pressEnterOnNextBox(BoxSeen* seen) {
    QTimer::singleShot(0, [seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            pressEnterOnNextBox(seen);
            return;
        }
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        seen->defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        QTest::keyClick(box, Qt::Key_Return);
    });
}

TEST(QtMessageBoxes, DefaultButtonTitleIconAndText) {
    QtMessageBoxes boxes;
    BoxSeen seen;
    pressEnterOnNextBox(&seen);
    EXPECT_FALSE(boxes.askYesNo("Are you sure you want to change mode ?", MessageAnswer::No, MessageIcon::Question));
    EXPECT_EQ(seen.title, "Tiderune");
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.text, "Are you sure you want to change mode ?");
    EXPECT_EQ(QString(seen.defaultButton).remove('&'), "No");

    pressEnterOnNextBox(&seen);
    EXPECT_TRUE(boxes.askYesNo("Are you sure ?", MessageAnswer::Yes));
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(QString(seen.defaultButton).remove('&'), "Yes");

    pressEnterOnNextBox(&seen);
    EXPECT_EQ(boxes.show({"Logging started.\r\nfile.log", "Own title", MessageButtons::Ok, MessageIcon::Information,
                          MessageAnswer::Ok}),
              MessageAnswer::Ok);
    EXPECT_EQ(seen.title, "Own title");
    EXPECT_EQ(seen.text, "Logging started.\nfile.log");
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(QString(seen.defaultButton).remove('&'), "OK");
}

TEST(QtFileDialogs, FiltersBecomeNameFilters) {
    EXPECT_EQ(qtNameFilters("Setup files (*.ini)|*.ini|All files (*.*)|*.*"),
              (QStringList{"Setup files (*.ini)", "All files (*.*)"}));
    EXPECT_EQ(qtNameFilters("Logs|*.log;*.txt"), QStringList{"Logs (*.log *.txt)"});
    EXPECT_EQ(qtNameFilters("Logs (text)|*.log"), QStringList{"Logs (text) (*.log)"});
    EXPECT_TRUE(qtNameFilters("").isEmpty());
}

TEST(QtTimer, TicksUntilStopped) {
    QtDeviceFactory factory;
    auto timer = factory.makeTimer();
    int ticks = 0;
    timer->onTimeout = [&] {
        if (++ticks == 3) timer->stop();
    };
    timer->setInterval(10);
    EXPECT_EQ(timer->interval(), 10);
    timer->start();
    EXPECT_TRUE(timer->isActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !timer->isActive(); }, 5000));
    EXPECT_EQ(ticks, 3);
}

}  // namespace
}  // namespace tiderune
