#include "platform/DdeClient.h"

#include <map>

#include "platform/ProgramDir.h"
#include "platform/TextFiles.h"

namespace zeko {

namespace {

std::map<std::string, TDdeServer*>& Servers() {
    static std::map<std::string, TDdeServer*> servers;
    return servers;
}

std::map<std::string, std::function<bool()>>& Applications() {
    static std::map<std::string, std::function<bool()>> applications;
    return applications;
}

// "C:\Program\Tabulky.exe", "tabulky" and "TABULKY.EXE" name one program.
std::string ApplicationKey(const std::string& name) {
    std::string file = ExtractFileName(name);
    for (char& c : file)
        if (c == '\\')
            c = '/';
    file = file.substr(file.rfind('/') + 1);
    const size_t dot = file.rfind('.');
    return LowerAscii(dot == std::string::npos ? file : file.substr(0, dot));
}

} // namespace

void RegisterDdeServer(const std::string& service, TDdeServer* server) {
    if (server)
        Servers()[LowerAscii(service)] = server;
    else
        Servers().erase(LowerAscii(service));
}

TDdeServer* FindDdeServer(const std::string& service) {
    const auto it = Servers().find(LowerAscii(service));
    return it == Servers().end() ? nullptr : it->second;
}

void RegisterDdeApplication(const std::string& name, std::function<bool()> start) {
    if (start)
        Applications()[ApplicationKey(name)] = std::move(start);
    else
        Applications().erase(ApplicationKey(name));
}

TDdeClientConv::~TDdeClientConv() { server_ = nullptr; }

bool TDdeClientConv::SetLink(const std::string& service, const std::string& topic) {
    CloseLink();
    service_ = service;
    topic_ = topic;
    return true;
}

bool TDdeClientConv::OpenLink() {
    if (LiveServer())
        return true;
    TDdeServer* server = FindDdeServer(service_);
    if (!server && !ServiceApplication.empty()) {
        const auto it = Applications().find(ApplicationKey(ServiceApplication));
        if (it != Applications().end() && it->second())
            server = FindDdeServer(service_);
    }
    if (!server || !server->AcceptsTopic(topic_))
        return false;
    server_ = server;
    if (OnOpen)
        OnOpen();
    return true;
}

void TDdeClientConv::CloseLink() {
    if (!server_)
        return;
    server_ = nullptr;
    if (OnClose)
        OnClose();
}

TDdeServer* TDdeClientConv::LiveServer() {
    if (server_ && FindDdeServer(service_) != server_)
        CloseLink();
    return server_;
}

std::optional<std::string> TDdeClientConv::RequestData(const std::string& item) {
    TDdeServer* server = LiveServer();
    return server ? server->Request(topic_, item) : std::nullopt;
}

bool TDdeClientConv::ExecuteMacro(const std::string& command, bool) {
    TDdeServer* server = LiveServer();
    return server && server->Execute(topic_, command);
}

std::optional<std::string> TDdeClientConv::ActivateServer(const std::string& title) {
    TDdeServer* server = LiveServer();
    return server ? server->Activate(title) : std::optional<std::string>("no link");
}

} // namespace zeko
