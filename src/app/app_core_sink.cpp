#include "app/app_core_sink.h"

#include "app/main_window.h"
#include "app/shell.h"

namespace tiderune {

void AppCoreSink::notice(const Notice& n) { shell_.gate.notice(n); }

void AppCoreSink::showRawMessage(int system, std::string_view text) {
    if (onRawMessage) onRawMessage(system, text);
}

void AppCoreSink::writeLogLine(int system, std::string_view text) {
    if (onLogLine) onLogLine(system, text);
}

void AppCoreSink::showChecksumRejected(int, int panel, const std::string& text) {
    if (shell_.mainWindow) shell_.mainWindow->setPanelText(panel, qs(text));
}

}  // namespace tiderune
