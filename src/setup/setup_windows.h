#pragma once
// The Setup menu's dialogs: one setup dialog at a time (per system SetupOpen), and the single
// lat/lon format dialog of the Options menu.
#include <QPointer>

#include "core/indexed.h"
#include "setup/geo_format_dialog.h"
#include "setup/setup_dialog.h"

namespace tiderune {

class SetupWindows {
public:
    SetupWindows(Shell& shell, SetupSession& session, QWidget* mainWindow)
        : shell_(shell), session_(session), main_(mainWindow) {}
    // The dialogs work on the session: they close with it.
    ~SetupWindows();
    SetupWindows(const SetupWindows&) = delete;
    SetupWindows& operator=(const SetupWindows&) = delete;

    // The Setup menu entry of a system: nothing when its dialog is open, a message when
    // another system's is, else a new dialog.
    void mnuSetupSystemClick(int system);
    // Options > Lat/Lon format: the one dialog, brought forward when it is open.
    void mnuOptionLatLonFormatClick();

    SetupDialog* dialog() const { return dialog_; }
    GeoFormatDialog* geoFormat() const { return geoFormat_; }

    PerSystem<bool> SetupOpen{};
    int SetupCurrentSystem = 0;

private:
    Shell& shell_;
    SetupSession& session_;
    QWidget* main_;
    QPointer<SetupDialog> dialog_;
    QPointer<GeoFormatDialog> geoFormat_;
    QObject guard_;  // ends the dialogs' connections to this object with it
};

}  // namespace tiderune
