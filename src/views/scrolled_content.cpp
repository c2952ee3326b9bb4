#include "views/scrolled_content.h"

#include <QScrollArea>
#include <QVBoxLayout>

namespace tiderune {

QWidget* addScrolledContent(QWidget* window) {
    auto* scroll = new QScrollArea(window);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget;
    scroll->setWidget(content);
    auto* fill = new QVBoxLayout(window);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(scroll);
    return content;
}

void fitToShownFrames(QWidget* content) {
    const QRect shown = content->childrenRect();
    content->resize(shown.right() + 1, shown.bottom() + 1);
}

}  // namespace tiderune
