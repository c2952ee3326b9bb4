#pragma once
// File Print: asks whether to edit the session text first, waits for the editor while the
// program goes on receiving, then writes the session report of every system in use (with no
// system in use it says so and asks nothing).
#include <QObject>
#include <QPointer>

namespace tiderune {

class MainWindow;
class Shell;
class SessionInfoEditor;

class SessionPrint : public QObject {
    Q_OBJECT
public:
    explicit SessionPrint(MainWindow& window);

    void filePrint();

    // The editor while it is open: Print waits for it, and Print is disabled meanwhile.
    bool documentOpen() const;
    SessionInfoEditor* editor() const;

private:
    // Shows the editor and returns once it has closed, by either button, or the program is
    // closing. Events keep being processed meanwhile.
    void editAndWait();

    MainWindow& window_;
    Shell& shell_;
    QPointer<SessionInfoEditor> editor_;
};

}  // namespace tiderune
