#include "config.h"

#include "errors.h"
#include "sentence_types.h"

namespace tiderune {

bool& SystemSetup::analysed(SentenceType t) {
    if (static_cast<std::size_t>(t) >= SentenceTypes.size()) throwSubscriptOutOfRange();
    return this->*sentenceTypeInfo(t).analysed;
}

bool SystemSetup::analysed(SentenceType t) const {
    // The writable lookup only picks a member; nothing is written through it here.
    return const_cast<SystemSetup*>(this)->analysed(t);
}

void LoadDefaultSetup(Config& config) {
    config.Mode = "ONLINE";
    for (int s = 1; s <= MaxSystems; ++s) {
        SystemSetup& sys = config.Systems[s];
        sys.InUse = false;
        sys.Name.clear();
        sys.Kind.clear();
        sys.OfflineFile.clear();
        sys.ComPort = 0;
        sys.UseTCP = false;
        sys.TCPHost = "127.0.0.1";
        sys.TCPPort = 8040;
        // TTM and VDM keep their flags: a new setup starts with the position, attitude and
        // depth types off, the target types as they were.
        for (SentenceType t : AllSentenceTypes) {
            if (t != SentenceType::TTM && t != SentenceType::VDM) sys.analysed(t) = false;
        }
        config.ChecksumTest[s] = false;
    }
}

}  // namespace tiderune
