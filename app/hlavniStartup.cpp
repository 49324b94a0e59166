// The opening of the conversation: two start-up writes, then a chain of reads in
// which each reply queues the next request, filling CurrentState with the
// regulator's settings, identification texts and clock, while the progress panel
// shows the chain. At its end the live values are polled every 450 ms at most.
#include "app/hlavni.h"

#include "core/RegulatorReplies.h"
#include "core/Komunikace.h"
#include "core/PollingList.h"
#include "core/ProgramGlobals.h"
#include "core/RegisterTables.h"
#include "core/SuperTimer.h"
#include "core/Telegram.h"
#include "core/TextHelpers.h"
#include "core/ZekoMessages.h"
#include "core/Zeko.h"
#include "dialogs/online.h"
#include "platform/Cp1250.h"
#include "platform/TickClock.h"

#include <QFrame>
#include <QProgressBar>
#include <QPushButton>

#include <map>
#include <utility>

namespace zeko {

namespace {

using tlg::StationPC;
using tlg::StationRegulator;

constexpr uint32_t PollingIntervalMs = 450;
constexpr int SettingsReadSteps = 16;

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
    int Panel;      // status panel that shows the text, 0 = none
    NextRequest Next;
};

const std::map<uint16_t, IdentStep>& IdentChain() {
    static const std::map<uint16_t, IdentStep> chain = {
        {Registers::IdentText1, {reg8::IdentText1, 3, {tlg::KindIdent, reg8::IdentText2}}},
        {Registers::IdentText2, {reg8::IdentText2, 4, {tlg::KindIdent, reg8::IdentText3}}},
        {Registers::IdentText3, {reg8::IdentText3, 0, {tlg::KindIdent, reg8::IdentText4}}},
        {Registers::IdentText4, {reg8::IdentText4, 0, {tlg::KindSettings, reg8::OutputCount}}},
    };
    return chain;
}

// The text of an identification reply: its bytes as Windows-1250 characters; a
// zero byte ends what can be shown.
std::string IdentText(const TReplyHeader& reply) {
    std::string raw(reinterpret_cast<const char*>(reply.Data), static_cast<size_t>(std::max(reply.DataLength, 0)));
    return Cp1250ToUtf8(raw);
}

} // namespace

void THlavniForm::OpenConversation() {
    Komunikace->SetDTR(false);
    Komunikace->SetOnReceiveData(
        [this](TCommPortDriver*, const uint8_t* data, uint32_t count) { ReceiveBytes(data, count); });
    Komunikace->MatchLastSent = true;
    SettingsReadRunning = true;

    Komunikace->SetDataByte(1, 64);
    Komunikace->QueueTelegram(StationPC, StationRegulator, 1, tlg::KindWorking, Registers::StartWrite1, 1, 64);
    Komunikace->SendNext();
    Komunikace->DropHead();
    Komunikace->SetDataByte(1, 1);
    Komunikace->QueueTelegram(StationPC, StationRegulator, 1, tlg::KindWorking, Registers::StartWrite2, 1, 1);
    Komunikace->SendNext();
    Komunikace->DropHead();

    QueueRead(tlg::KindSettings, reg8::SettingsByte);
    Komunikace->SendNext();
    Tmr_SendTLG->SetEnabled(true);
    ShowSettingsProgress();
    ProgressBar->setMaximum(SettingsReadSteps);
}

void THlavniForm::QueueRead(uint8_t mode, uint8_t index) {
    Komunikace->QueueTableTelegram(StationPC, StationRegulator, 0, mode, index);
}

bool THlavniForm::HandleStartupSettingsReply(const TReplyHeader& reply) {
    const auto step = SettingsChain().find(reply.Address);
    if (step == SettingsChain().end() || !DecodeStartupSettings(reply.Address, reply.Data, reply.DataLength, *CurrentState))
        return false;  // a short reply drops nothing: the request goes out again
    Komunikace->DropHead();
    ProgressBar->setValue(ProgressBar->value() + 1);
    QueueRead(step->second.Mode, step->second.Index);
    return true;
}

void THlavniForm::HandleIdentReply(const TReplyHeader& reply) {
    const auto step = IdentChain().find(reply.Address);
    if (step == IdentChain().end() || reply.WriteAck)
        return;
    Komunikace->DropIfLastSent(StationPC, StationRegulator, 0, tlg::KindIdent, step->second.Index);
    ProgressBar->setValue(ProgressBar->value() + 1);
    const std::string text = IdentText(reply);
    identTexts_[step->second.Index - reg8::IdentText1] = text;
    if (step->second.Panel != 0)
        SetStatusPanel(step->second.Panel, text.substr(0, text.find('\0')));
    QueueRead(step->second.Next.Mode, step->second.Next.Index);
}

void THlavniForm::HandleStartupClock(const TReplyHeader& reply) {
    if (!DecodeClock(reply.Data, reply.DataLength, *CurrentState, GetTickCount()))
        return;
    Komunikace->DropHead();
    if (SettingsReadRunning)
        QueueRead(tlg::KindSettings, reg8::LastSettingsBlock);
    else
        SetStatusLine(StampedLine("Datum a čas regulátoru nastaven podle PC"));
}

void THlavniForm::HandleLastSettingsBlock(const TReplyHeader& reply) {
    if (!DecodeLastSettingsBlock(reply.Data, reply.DataLength, *CurrentState))
        return;
    Komunikace->DropHead();
    if (!SettingsReadRunning)
        return;
    SetStatusLine(StampedLine("Nastavení načteno"));
    HideSettingsProgress();
    PostMessageTo(this, WM_OPEN_ONLINE, 0, 0);
    SettingsReadRunning = false;
    EnableRegulatorMenu();
    PollingList->SetInterval(PollingIntervalMs);
    PollingList->AddItem(LiveValuesPollItem);
}

void THlavniForm::HandleLiveValues(const TReplyHeader& reply) {
    // The polling telegram left the queue when it was sent: nothing to drop.
    if (!DecodeLiveValues(reply.Data, reply.DataLength, *CurrentState))
        return;
    if (OnlineOpen && onlineForm_ != nullptr)
        PostMessageTo(onlineForm_, WM_ONLINE_REFRESH, 0, 0);
}

void THlavniForm::ShowSettingsProgress() {
    Panel1->show();
    Panel1->raise();
    ZrusNacitani->show();
    ZrusNacitani->raise();
    ProgressBar->setValue(ProgressBar->minimum());
}

void THlavniForm::HideSettingsProgress() {
    Panel1->hide();
    ZrusNacitani->hide();
}

void THlavniForm::ZrusNacitaniClick() {
    SettingsReadRunning = false;
    Komunikace->SetOnReceiveData(nullptr);
    HideSettingsProgress();
    Komunikace->ClearQueue();
    Komunikace->SetAddressRange(65535, 65535);
    DisableRegulatorMenu();
    SetStatusLine(StampedLine("Komunikace nenavázána."));
    SetStatusPanel(3, "");
    SetStatusPanel(4, "");
}

void THlavniForm::EnableRegulatorMenu() {
    EnableItem(cmNastaveniRegulatoru, true);
    EnableItem(cmNastavitCas, true);
}

void THlavniForm::DisableRegulatorMenu() {
    EnableItem(cmNastaveniRegulatoru, false);
    EnableItem(cmNastavitCas, false);
}

} // namespace zeko
