#include "app/session_print.h"

#include <QAction>
#include <QEventLoop>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>

#include "frame/gated_message_boxes.h"
#include "app/logic/session_report.h"
#include "app/main_window.h"
#include "app/session_info_editor.h"
#include "frame/shell.h"
#include "platform/app_folder.h"

namespace tiderune {

SessionPrint::SessionPrint(MainWindow& window) : window_(window), shell_(window.shell()) {}

bool SessionPrint::documentOpen() const { return editor_ != nullptr; }
SessionInfoEditor* SessionPrint::editor() const { return editor_; }

void SessionPrint::filePrint() {
    if (documentOpen()) return;
    bool anyInUse = false;
    for (int s = 1; s <= MaxSystems; ++s) anyInUse = anyInUse || shell_.config.Systems[s].InUse;
    if (!anyInUse) {
        // Reports are of the systems in use: with none, asking about the session text first
        // and then writing nothing would leave the user waiting for a report.
        shell_.ask("No system in use : no statistics summary printed. Go to Setup first !");
        return;
    }
    const std::string& info = shell_.config.SessionInfo;
    if (!info.empty() &&
        shell_.ask("Session info : \r\n" + info + "\r\n Do you wan't to edit?", MessageButtons::YesNo,
                   MessageAnswer::Yes, MessageIcon::Question) == MessageAnswer::Yes) {
        editAndWait();
        // The main window closed while the editor was open: no reports from a closing program.
        if (shell_.state.AppClosing) return;
    }
    GatedMessageBoxes boxes(shell_.gate);
    const AppFolder folder(shell_.appFolder());
    for (int s = 1; s <= MaxSystems; ++s)
        if (shell_.config.Systems[s].InUse) PrintReport(shell_.coreState, s, folder, shell_.services.clock, boxes);
}

void SessionPrint::editAndWait() {
    editor_ = new SessionInfoEditor(shell_);
    QMdiSubWindow* frame = window_.mdiArea()->addSubWindow(editor_);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->show();
    editor_->textBox()->setFocus();

    // A second Print could only wait inside this one: Print is off until the editor closes.
    QAction* print = window_.action("mnuFilePrint");
    print->setEnabled(false);
    QEventLoop wait;
    connect(editor_, &QObject::destroyed, &wait, &QEventLoop::quit);
    wait.exec();
    print->setEnabled(true);
}

}  // namespace tiderune
