#pragma once
// The file open and save dialogs as QFileDialog.
#include <QStringList>

#include "platform/file_dialog.h"

class QWidget;

namespace tiderune {

class QtFileDialogs final : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    std::optional<std::string> showOpen(const FileDialogRequest& request) override;
    std::optional<std::string> showSave(const FileDialogRequest& request) override;

private:
    std::optional<std::string> run(const FileDialogRequest& request, bool open);
    QWidget* parent_;
};

// "Text (*.txt)|*.txt" as the name filters QFileDialog takes.
QStringList qtNameFilters(const std::string& filter);

}  // namespace tiderune
