#include "qt_file_dialogs.h"

#include <QFileDialog>

#include "platform/qt/qt_edge.h"

namespace tiderune {

QStringList qtNameFilters(const std::string& filter) {
    QStringList out;
    for (const FileFilter& f : parseFileFilter(filter)) {
        QString patterns = toQt(f.pattern);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the parentheses that end the text; a description that
        // already shows them ("Tiderune setup files (*.ini)") is shown as it is.
        const QString shown = QLatin1Char('(') + patterns + QLatin1Char(')');
        const QString description = toQt(f.description);
        out << (description.endsWith(shown) ? description : description + QLatin1Char(' ') + shown);
    }
    return out;
}

std::optional<std::string> QtFileDialogs::run(const FileDialogRequest& request, bool open) {
    QFileDialog dialog(parent_, toQt(request.title), pathToQt(request.initialDir));
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters = qtNameFilters(request.filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (!request.defaultExt.empty()) dialog.setDefaultSuffix(toQt(request.defaultExt));
    if (!request.fileName.empty()) dialog.selectFile(pathToQt(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return pathFromQt(dialog.selectedFiles().constFirst());
}

std::optional<std::string> QtFileDialogs::showOpen(const FileDialogRequest& request) { return run(request, true); }
std::optional<std::string> QtFileDialogs::showSave(const FileDialogRequest& request) { return run(request, false); }

}  // namespace tiderune
