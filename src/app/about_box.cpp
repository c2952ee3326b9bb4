#include "app/about_box.h"

#include <QApplication>
#include <QDesktopServices>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QUrl>

#include "frame/shell.h"

namespace tiderune {

const char* const AboutBox::WebAddress = "https://www.kestrelle.example/tiderune";
const char* const AboutBox::MailAddress = "tiderune@kestrelle.example";

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

// A label that reads as a link; a click hands its target to the opener instead of Qt's own.
QLabel* link(QWidget* parent, const char* name, const QString& shown, const QString& target,
             const AboutBox::UrlOpener& open) {
    QLabel* l = label(parent, name, QString("<a href=\"%1\">%2</a>").arg(target.toHtmlEscaped(), shown.toHtmlEscaped()));
    l->setTextFormat(Qt::RichText);
    l->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    l->setOpenExternalLinks(false);
    QObject::connect(l, &QLabel::linkActivated, l, [open](const QString& url) { open(QUrl(url)); });
    return l;
}

}  // namespace

AboutBox::AboutBox(Shell& shell, QWidget* parent, UrlOpener openUrl)
    : QDialog(parent), shell_(shell), openUrl_(std::move(openUrl)) {
    // Whether the desktop could open the link is not told: there is nothing the user can do.
    if (!openUrl_) openUrl_ = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    setObjectName("frmAbout");
    setWindowTitle(QString("About ") + ApplicationTitle);
    setModal(true);

    auto* icon = label(this, "picIcon", {});
    icon->setPixmap(QApplication::windowIcon().isNull()
                        ? style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48)
                        : QApplication::windowIcon().pixmap(48, 48));
    QLabel* title = label(this, "lblTitle", ApplicationTitle);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    title->setFont(big);
    QLabel* description = label(this, "lblDescription",
                                "Statistical analysis of NMEA 0183 sentences from up to four positioning and "
                                "navigation sensors at the same time.");
    description->setWordWrap(true);
    cmdOk_ = new QPushButton("OK", this);
    cmdOk_->setObjectName("cmdOk");
    cmdOk_->setDefault(true);
    cmdSysInfo_ = new QPushButton("&System Info...", this);
    cmdSysInfo_->setObjectName("cmdSysInfo");

    auto* grid = new QGridLayout(this);
    grid->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(title, 0, 1, 1, 2);
    grid->addWidget(label(this, "lblVersion", QString("Version ") + Shell::VersionText), 1, 1, 1, 2);
    grid->addWidget(description, 2, 1, 1, 2);
    grid->addWidget(label(this, "lblInternet", "internet :"), 3, 1);
    grid->addWidget(link(this, "lblHyperlink", WebAddress, WebAddress, openUrl_), 3, 2);
    grid->addWidget(label(this, "lblMail", "e-mail : "), 4, 1);
    grid->addWidget(link(this, "lblSendMail", MailAddress, QString("mailto:") + MailAddress, openUrl_), 4, 2);
    grid->addWidget(cmdOk_, 5, 2, Qt::AlignRight);
    grid->addWidget(cmdSysInfo_, 6, 2, Qt::AlignRight);
    grid->setColumnStretch(2, 1);

    connect(cmdOk_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo_, &QPushButton::clicked, this, &AboutBox::StartSysInfo);
}

void AboutBox::StartSysInfo() { shell_.ask("System Information Is Unavailable At This Time"); }

void showAboutBox(Shell& shell, QWidget* mainWindow) {
    AboutBox box(shell, mainWindow);
    EventGate::ModalScope modal(shell.gate);
    box.exec();
}

}  // namespace tiderune
