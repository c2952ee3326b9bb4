#include "views/scrolled_content.h"

#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>
#include <set>

#include "frame/child_window.h"

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

QSize readableFrames(QWidget* content, int rows) {
    const auto frames = content->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    std::set<int> tops;
    for (QWidget* f : frames)
        if (!f->isHidden()) tops.insert(f->y());
    auto last = tops.begin();
    for (int r = 1; r < rows && std::next(last) != tops.end(); ++r) ++last;
    QRect first;
    for (QWidget* f : frames)
        if (!f->isHidden() && last != tops.end() && f->y() <= *last) first |= f->geometry();
    return readableScrolledSize(first, content->childrenRect());
}

void fitToShownFrames(QWidget* content) {
    const QRect shown = content->childrenRect();
    content->resize(shown.right() + 1, shown.bottom() + 1);
}

}  // namespace tiderune
