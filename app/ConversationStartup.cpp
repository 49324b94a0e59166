// The opening of the conversation: two start-up writes, then a chain of reads in
// which each reply queues the next request, filling the regulator state with its
// settings, identification texts and clock, while the progress shows the chain. At
// its end the live values are polled every 450 ms at most.
#include "app/Conversation.h"
#include "app/PortFailureText.h"

#include "core/RegisterTables.h"
#include "core/RegulatorReplies.h"
#include "core/Telegram.h"
#include "platform/Cp1250.h"
#include "platform/DateTime.h"
#include "platform/SerialLine.h"
#include "platform/TickClock.h"

#include <algorithm>
#include <map>

namespace zeko {

namespace {

using tlg::StationPC;
using tlg::StationRegulator;

constexpr uint32_t PollingIntervalMs = 450;
constexpr int SettingsReadSteps = 16;

// The data of the two start-up writes (and their key bytes).
constexpr uint8_t StartWrite1Data = 64;
constexpr uint8_t StartWrite2Data = 1;

struct NextRequest {
    uint8_t Mode;
    uint8_t Index;
};

// The settings replies of the chain and the request each one queues.
const std::map<uint16_t, NextRequest>& SettingsChain() {
    static const std::map<uint16_t, NextRequest> chain = {
        {Registers::Switches, {tlg::KindIdent, reg8::IdentText1}},
        {Registers::OutputCount, {tlg::KindSettings, reg8::OutputTypesLow}},
        {Registers::OutputTypesLow, {tlg::KindSettings, reg8::OutputTypesHigh}},
        {Registers::OutputTypesHigh, {tlg::KindSettings, reg8::OutputValues1}},
        {Registers::OutputValues1, {tlg::KindSettings, reg8::OutputValues2}},
        {Registers::OutputValues9, {tlg::KindSettings, reg8::SmallestOutput}},
        {Registers::SmallestOutput, {tlg::KindSettings, reg8::SumC}},
        {Registers::SumC, {tlg::KindSettings, reg8::DischargeTimes}},
        {Registers::DischargeTimes, {tlg::KindSettings, reg8::MeterConstants}},
        {Registers::MeterConstants, {tlg::KindSettings, reg8::InputFunctions}},
        {Registers::InputFunctions, {tlg::KindWorking, reg8::Clock}},
    };
    return chain;
}

struct IdentStep {
    uint8_t Index;  // table index of the request answered
    NextRequest Next;
};

const std::map<uint16_t, IdentStep>& IdentChain() {
    static const std::map<uint16_t, IdentStep> chain = {
        {Registers::IdentText1, {reg8::IdentText1, {tlg::KindIdent, reg8::IdentText2}}},
        {Registers::IdentText2, {reg8::IdentText2, {tlg::KindIdent, reg8::IdentText3}}},
        {Registers::IdentText3, {reg8::IdentText3, {tlg::KindIdent, reg8::IdentText4}}},
        {Registers::IdentText4, {reg8::IdentText4, {tlg::KindSettings, reg8::OutputCount}}},
    };
    return chain;
}

// The text of an identification reply: its bytes as Windows-1250 characters.
std::string IdentText(const TReplyHeader& reply) {
    std::string raw(reinterpret_cast<const char*>(reply.Data), static_cast<size_t>(std::max(reply.DataLength, 0)));
    return Cp1250ToUtf8(raw);
}

} // namespace

bool TConversation::OpenPort(int comPort, int baudRate) {
    link_.SelectPort(static_cast<uint8_t>(comPort));
    return link_.OpenPort(static_cast<uint32_t>(baudRate));
}

std::string TConversation::PortShortName() const {
    std::string port = link_.Port->PortName();
    if (const size_t prefix = port.rfind('\\'); prefix != std::string::npos)
        port.erase(0, prefix + 1);  // "\\.\COM1" is COM1
    return port;
}

std::string TConversation::PortDeviceText() const {
    const TCommPortDriver& driver = *link_.Port;
    const std::string device = SerialLine::DevicePath(driver.PortName());
    const SerialLineFailure failure = driver.ConnectFailure();
    return PortFailureLine(PortShortName(), device, failure, driver.BaudRateValue(),
                           failure == SerialLineFailure::Denied ? DeviceAccessOf(device) : std::nullopt);
}

std::string TConversation::PortMissingText() const {
    return "Daný sériový port neexistuje nebo se právě používá !\n" + PortDeviceText();
}

void TConversation::OpenConversation() {
    link_.SetDTR(false);
    link_.SetOnReceiveData([this](TCommPortDriver*, const uint8_t* data, uint32_t count) { ReceiveBytes(data, count); });
    link_.Port->OnLineLost = [this](TCommPortDriver*) { PortLostEvent(); };
    link_.Port->OnLineBack = [this](TCommPortDriver*) { PortBackEvent(); };
    link_.MatchLastSent = true;
    phase_ = TConversationPhase::ReadingSettings;

    // Neither start-up write waits for a reply.
    for (const auto& [address, data] : {std::pair{Registers::StartWrite1, StartWrite1Data},
                                        std::pair{Registers::StartWrite2, StartWrite2Data}}) {
        const uint8_t bytes[] = {data};
        link_.QueueTelegram(StationPC, StationRegulator, 1, tlg::KindWorking, address, bytes, data);
        link_.SendNext();
        link_.DropHead();
    }

    QueueRead(tlg::KindSettings, reg8::SettingsByte);
    link_.SendNext();
    events_.ShowProgress(TProgressKind::SettingsRead, SettingsReadSteps, "");
}

void TConversation::CancelSettingsRead() {
    phase_ = TConversationPhase::Closed;
    link_.SetOnReceiveData(nullptr);
    events_.HideProgress(TProgressKind::SettingsRead);
    link_.ClearQueue();
    // No reply gets through any more.
    link_.SetAddressRange(65535, 65535);
    Report("Komunikace nenavázána.");
}

void TConversation::HandleStartupSettingsReply(const TReplyHeader& reply) {
    const auto step = SettingsChain().find(reply.Address);
    if (step == SettingsChain().end() || !DecodeStartupSettings(reply.Address, reply.Data, reply.DataLength, state_))
        return;  // a short reply drops nothing: the request goes out again
    link_.DropHead();
    events_.StepProgress(TProgressKind::SettingsRead);
    QueueRead(step->second.Mode, step->second.Index);
}

void TConversation::HandleIdentReply(const TReplyHeader& reply) {
    const auto step = IdentChain().find(reply.Address);
    if (step == IdentChain().end() || reply.WriteAck)
        return;
    link_.DropIfLastSent(StationPC, StationRegulator, 0, tlg::KindIdent, step->second.Index);
    events_.StepProgress(TProgressKind::SettingsRead);
    const int n = step->second.Index - reg8::IdentText1;
    state_.IdentTexts[static_cast<size_t>(n)] = IdentText(reply);
    events_.IdentText(n + 1, state_.IdentTexts[static_cast<size_t>(n)]);
    QueueRead(step->second.Next.Mode, step->second.Next.Index);
}

void TConversation::HandleClock(const TReplyHeader& reply) {
    if (!DecodeClock(reply.Data, reply.DataLength, state_, GetTickCount()))
        return;
    link_.DropHead();
    // Asking again would bring the same bytes: the reading goes on without a clock.
    if (!state_.ClockValid)
        Report("Neplatné datum a čas regulátoru (" + HexBytes(reply.Data, ClockBytes) + "), nebyly převzaty");
    if (SettingsReadRunning())
        QueueRead(tlg::KindSettings, reg8::LastSettingsBlock);
    else if (state_.ClockValid)
        Report("Datum a čas regulátoru nastaven podle PC");
}

void TConversation::HandleLastSettingsBlock(const TReplyHeader& reply) {
    if (!DecodeLastSettingsBlock(reply.Data, reply.DataLength, state_))
        return;
    link_.DropHead();
    if (!SettingsReadRunning())
        return;
    Report("Nastavení načteno");
    events_.HideProgress(TProgressKind::SettingsRead);
    phase_ = TConversationPhase::Polling;
    polling_.SetInterval(PollingIntervalMs);
    polling_.AddItem(LiveValuesPollItem);
    events_.SettingsRead();
}

void TConversation::HandleLiveValues(const TReplyHeader& reply) {
    // The polling telegram left the queue when it was sent: nothing to drop.
    if (!DecodeLiveValues(reply.Data, reply.DataLength, state_))
        return;
    liveValuesAt_ = Now();
    events_.LiveValuesRead();
}

} // namespace zeko
