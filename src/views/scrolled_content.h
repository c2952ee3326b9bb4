#pragma once
// The numerics and statistics windows stack their frames at fixed places and sizes. A window
// smaller than its stack (its default size, or more grids than the screen is tall) scrolls to
// them instead of cutting them off.
#include <QSize>

class QWidget;

namespace tiderune {

// Fills `window` with a scroll area and returns the widget the frames are placed on.
QWidget* addScrolledContent(QWidget* window);
// Makes `content` as large as its shown frames reach, so that the window scrolls to all of them.
void fitToShownFrames(QWidget* content);
// The frames read when their first `rows` rows show whole, the others scrolled to.
QSize readableFrames(QWidget* content, int rows = 1);

}  // namespace tiderune
