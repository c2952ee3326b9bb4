#include "nmeagen/generators.h"

namespace tiderune::nmeagen {

void generateDemo(const DemoOptions&, const LineSink&) {}

}  // namespace tiderune::nmeagen
