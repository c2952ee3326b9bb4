#pragma once
// The AIS side of the sentence intake: per system the message being assembled, the last
// decoded message of each type, the id of the last completed message and the target table.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ais_assembly.h"
#include "ais_messages.h"
#include "ais_tables.h"
#include "ais_target_store.h"
#include "core/ais_services.h"
#include "core/core_state.h"
#include "core/indexed.h"
#include "core/notices.h"

namespace tiderune {

// The PC clock's local date and time as a date value (days since 30 Dec 1899).
double pcClockDateValue();

class AisEngine final : public AisServices {
public:
    using EpochTimeSource = std::function<double(int system)>;  // the system's EpochTime
    using Clock = std::function<double()>;                      // now, as a date value

    // Builds the lookup tables (once, at start-up). Without a clock the PC clock is used.
    AisEngine(NoticeSink& notices, EpochTimeSource epochTime, Clock clock = {});
    ~AisEngine() override;
    AisEngine(const AisEngine&) = delete;
    AisEngine& operator=(const AisEngine&) = delete;

    void processVDM(int system, const std::string& text, VDMRecord& vdm) override;
    void storeAISTarget(int system) override;

    const AisTables& tables() const noexcept;
    const AISMessageSet& AISMessages(int system) const;
    std::int16_t LastAISMessageID(int system) const;
    const std::string& PendingPayload(int system) const;
    // Usable payload bits of the system's last completed message.
    int lastMessageBits(int system) const;
    const AisTargetStore& targets() const noexcept;
    // VDM field failures: the first of a kind is shown, repeats are only counted until reset.
    ParserNoticeGate& vdmNotices() noexcept;

private:
    struct State;
    NoticeSink& notices_;
    EpochTimeSource epochTime_;
    Clock clock_;
    std::unique_ptr<State> state_;
};

}  // namespace tiderune
