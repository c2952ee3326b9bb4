#include "ais_engine.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>

namespace tiderune {

double pcClockDateValue() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    const double ms = static_cast<double>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    return aisDateValue(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min) +
           (local.tm_sec + ms / 1000.0) / 86400.0;
}

namespace {

// Lets the first VDM field failure of a kind through to the user and counts the repeats.
class GatedNotices final : public NoticeSink {
public:
    GatedNotices(ParserNoticeGate& gate, NoticeSink& inner) : gate_(gate), inner_(inner) {}
    void notice(const Notice& n) override {
        if (gate_.admit(n.title, errorNumberOf(n.text))) inner_.notice(n);
    }

private:
    // "Error  6 : ..." -> 6
    static int errorNumberOf(const std::string& text) { return std::atoi(text.c_str() + std::min<std::size_t>(6, text.size())); }
    ParserNoticeGate& gate_;
    NoticeSink& inner_;
};

}  // namespace

struct AisEngine::State {
    AisTables tables = InitAISTables();
    PerSystem<AisAssembly> assembly;
    PerSystem<AISMessageSet> messages;
    PerSystem<std::int16_t> lastMessageID;
    PerSystem<int> lastMessageBits;
    AisTargetStore store;
    ParserNoticeGate vdmNotices;
};

AisEngine::AisEngine(NoticeSink& notices, EpochTimeSource epochTime, Clock clock)
    : notices_(notices),
      epochTime_(std::move(epochTime)),
      clock_(clock ? std::move(clock) : Clock(pcClockDateValue)),
      state_(std::make_unique<State>()) {}

AisEngine::~AisEngine() = default;

void AisEngine::processVDM(int system, const std::string& text, VDMRecord& vdm) {
    AisAssembly& assembly = state_->assembly[system];  // checks the system number
    const AisDecodeContext ctx{state_->tables, clock_()};
    GatedNotices gated(state_->vdmNotices, notices_);
    ProcessVDM(text, vdm, assembly, state_->messages[system], state_->lastMessageID[system],
               state_->lastMessageBits[system], ctx, gated);
}

void AisEngine::storeAISTarget(int system) {
    AisStoreInput in;
    in.system = system;
    in.messageID = state_->lastMessageID[system];
    in.messageBits = state_->lastMessageBits[system];
    in.epochTime = epochTime_ ? epochTime_(system) : 0;
    StoreAISTarget(state_->store, in, state_->messages[system], state_->tables, notices_);
}

const AisTables& AisEngine::tables() const noexcept { return state_->tables; }
const AISMessageSet& AisEngine::AISMessages(int system) const { return state_->messages[system]; }
std::int16_t AisEngine::LastAISMessageID(int system) const { return state_->lastMessageID[system]; }
const std::string& AisEngine::PendingPayload(int system) const { return state_->assembly[system].currentPayload(); }
int AisEngine::lastMessageBits(int system) const { return state_->lastMessageBits[system]; }
const AisTargetStore& AisEngine::targets() const noexcept { return state_->store; }
ParserNoticeGate& AisEngine::vdmNotices() noexcept { return state_->vdmNotices; }

}  // namespace tiderune
