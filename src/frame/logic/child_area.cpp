#include "frame/logic/child_area.h"

namespace tiderune {

AreaSize childAreaOnceShown(AreaSize contents, AreaSize frameNow, AreaSize frameShown, int titleBar) {
    const AreaSize growth{frameShown.width - frameNow.width, frameShown.height - frameNow.height};
    if (growth == AreaSize{}) return contents;
    return {contents.width + growth.width, contents.height + growth.height - titleBar};
}

}  // namespace tiderune
