#pragma once
// The series per satellite of the GSA and GSV windows, made when such a window loads.
#include "platform/chart_types.h"

namespace tiderune {

class TimeSeriesForm;

// The colour of satellite series i (1-151) of a chart whose design series 0 has colour
// `first`: the chart's colour for a new series up to 19, then repeating every 19, with every
// multiple of 19 from 38 on taking the design series' colour.
Colour satelliteSeriesColour(int i, Colour first);

// Adds series 1-151 to each chart of the window whose design asks for them, titled "01" to
// "151". A chart that has them already is left alone.
void AddSatelliteSeries(TimeSeriesForm& window);

}  // namespace tiderune
