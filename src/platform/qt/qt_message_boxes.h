#pragma once
// Message boxes as QMessageBox, modal to the given window.
#include "platform/message_box.h"

class QWidget;

namespace tiderune {

class QtMessageBoxes final : public MessageBoxes {
public:
    explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    MessageAnswer show(const MessageRequest& request) override;

private:
    QWidget* parent_;
};

}  // namespace tiderune
