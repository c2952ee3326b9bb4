#pragma once
// The icons of the windows of systems 2 to 4, drawn by the program itself: per window kind a
// small glyph with a badge in the system's display colour carrying the system number, so that
// the same window of several systems tells its system on its title bar and when minimised.
// System 1's windows keep their own icon (the program's).
#include <QIcon>
#include <array>
#include <cstdint>

#include "frame/window_kinds.h"
#include "core/indexed.h"

namespace tiderune {

// The picture sets of the icon holder; several kinds share one (all time series and the SNR
// time series, the statistics and SNR statistics).
enum class IconPicture {
    None,
    TimeSeries,
    Skyplot,
    Scatter,
    AISList,
    ARPAList,
    AISDetail,
    Numerics,
    Statistics,
    Monitor,
};
inline constexpr int IconPictureCount = static_cast<int>(IconPicture::Monitor) + 1;

// The picture set of a window kind (the AIS detail window, which has no kind of its own, asks
// for IconPicture::AISDetail itself).
IconPicture iconPictureOf(WindowKind kind);

class WindowIcons {
public:
    // The badges take the systems' display colours (0x00BBGGRR) as they are when first drawn.
    explicit WindowIcons(const PerSystem<std::uint32_t>& colours) : colours_(colours) {}

    // The icon of a window of picture set p for system 2-4, drawn on first use; a null icon
    // for system 1 and for None.
    QIcon icon(IconPicture p, int system);

private:
    const PerSystem<std::uint32_t>& colours_;
    std::array<std::array<QIcon, 3>, IconPictureCount> drawn_{};  // systems 2-4
};

}  // namespace tiderune
