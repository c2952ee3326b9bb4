#include "processing.h"

namespace tiderune {

void ProcessMessageType(CoreState& /*state*/, CoreSink& /*sink*/, int /*system*/, SentenceType /*type*/) {}

}  // namespace tiderune
