#pragma once
// "About Tiderune": title, version and what the program does, with the maker's web page and
// mail address as links that open in the desktop's own handlers.
#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QUrl;

namespace tiderune {

class Shell;

class AboutBox : public QDialog {
    Q_OBJECT
public:
    // How a link is opened: the desktop's default handler, or what a test puts in its place.
    using UrlOpener = std::function<void(const QUrl&)>;

    AboutBox(Shell& shell, QWidget* parent, UrlOpener openUrl = {});

    static const char* const WebAddress;
    static const char* const MailAddress;

    QPushButton* okButton() const { return cmdOk_; }
    QPushButton* sysInfoButton() const { return cmdSysInfo_; }

    // Starts the system information program. None exists here, so it says so.
    void StartSysInfo();

private:
    Shell& shell_;
    UrlOpener openUrl_;
    QPushButton* cmdOk_;
    QPushButton* cmdSysInfo_;
};

// Shows the about box modal over the main window; device events wait while it is open.
void showAboutBox(Shell& shell, QWidget* mainWindow);

}  // namespace tiderune
