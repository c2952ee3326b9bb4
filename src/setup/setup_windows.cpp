#include "setup/setup_windows.h"

#include "frame/shell.h"

namespace tiderune {

SetupWindows::~SetupWindows() {
    delete dialog_.data();
    delete geoFormat_.data();
}

void SetupWindows::mnuSetupSystemClick(int system) {
    if (!isValidSystem(system) || SetupOpen[system]) return;
    for (int s = 1; s <= MaxSystems; ++s) {
        if (SetupOpen[s]) {
            session_.ask({"Only one system setup window at the time can be opened", {}, MessageButtons::Ok,
                          MessageIcon::None, MessageAnswer::Ok});
            return;
        }
    }
    SetupCurrentSystem = system;
    SetupOpen[system] = true;
    dialog_ = new SetupDialog(shell_, session_, system, main_);
    // Whatever way it closes, the system's setup is no longer open.
    QObject::connect(dialog_, &QDialog::finished, &guard_, [this, system] { SetupOpen[system] = false; });
    QObject::connect(dialog_, &QObject::destroyed, &guard_, [this, system] { SetupOpen[system] = false; });
    dialog_->show();
    dialog_->raise();
}

void SetupWindows::mnuOptionLatLonFormatClick() {
    if (!geoFormat_) geoFormat_ = new GeoFormatDialog(shell_.config, main_);
    geoFormat_->show();
    geoFormat_->raise();
    geoFormat_->activateWindow();
}

}  // namespace tiderune
