#pragma once
// The seam between the sentence intake and the AIS services. The intake hands every VDM or
// VDO sentence over here, analysed or not; the AIS side owns the pending payload, the last
// decoded message of each type, the last message id and the target table of each system.
#include <string>

#include "vdm_record.h"

namespace tiderune {

class AisServices {
public:
    virtual ~AisServices() = default;
    // Parses one VDM/VDO sentence (the working text after tag-block removal) into `vdm`,
    // assembles fragments and decodes a complete message.
    virtual void processVDM(int system, const std::string& text, VDMRecord& vdm) = 0;
    // Stores or updates the target of the message just decoded for the system.
    virtual void storeAISTarget(int system) = 0;
};

// Used until an AIS implementation is plugged in: the sentence is taken and nothing decoded.
class NullAisServices final : public AisServices {
public:
    void processVDM(int, const std::string&, VDMRecord&) override {}
    void storeAISTarget(int) override {}
};

}  // namespace tiderune
