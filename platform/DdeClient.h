#pragma once
// A client conversation with another program's data-exchange server, as the
// spreadsheet link drives it: a service and a topic, opening and closing the link,
// requesting an item and executing macro command strings. Servers live in this
// process: a server registers itself under its service name, and a program that
// serves one registers how it is started, so that a client whose service answers
// nothing can start it by name (ServiceApplication), as it would start a program.
// Everything runs in the main thread; a transaction is complete when its call
// returns.
#include <functional>
#include <optional>
#include <string>

namespace zeko {

class TDdeServer {
public:
    virtual ~TDdeServer() = default;
    virtual bool AcceptsTopic(const std::string& topic) const = 0;
    // The reply to a request; nullopt when the item has none.
    virtual std::optional<std::string> Request(const std::string& topic, const std::string& item) = 0;
    // False when the command is refused (not understood, or the server busy).
    virtual bool Execute(const std::string& topic, const std::string& command) = 0;
    // Brings what the conversation built in front of the user, under `title` (what
    // it holds, in a few words); what to tell the user when that fails, nullopt
    // when it worked.
    virtual std::optional<std::string> Activate(const std::string& title) {
        (void)title;
        return std::nullopt;
    }
};

// Service names are matched without regard to letter case. nullptr unregisters;
// conversations with a server that went away close on their next call.
void RegisterDdeServer(const std::string& service, TDdeServer* server);
TDdeServer* FindDdeServer(const std::string& service);
// A program that can be started by name (its file name without extension, any
// case); starting it registers its server. Answers whether it started. An empty
// function unregisters.
void RegisterDdeApplication(const std::string& name, std::function<bool()> start);

enum TDataMode { ddeAutomatic, ddeManual };

class TDdeClientConv {
public:
    TDdeClientConv() = default;
    ~TDdeClientConv();  // closes the link without notifying
    TDdeClientConv(const TDdeClientConv&) = delete;
    TDdeClientConv& operator=(const TDdeClientConv&) = delete;

    TDataMode ConnectMode = ddeManual;
    // The program started when no server answers the service.
    std::string ServiceApplication;
    std::function<void()> OnOpen;
    std::function<void()> OnClose;

    const std::string& DdeService() const { return service_; }
    const std::string& DdeTopic() const { return topic_; }
    // Closes an open link and takes the new service and topic.
    bool SetLink(const std::string& service, const std::string& topic);
    // Opens the link to the service's server on the topic; when no server answers
    // and ServiceApplication names a program that can be started, starts it and
    // asks again. Answers whether the link is open.
    bool OpenLink();
    void CloseLink();
    bool Open() const { return server_ != nullptr; }

    // The server's reply; nullopt without an open link or a reply.
    std::optional<std::string> RequestData(const std::string& item);
    // False without an open link or when the server refuses the command.
    // Transactions complete at once here, so waiting or not makes no difference.
    bool ExecuteMacro(const std::string& command, bool waitFlg);
    // True while a transaction waits for the server; never, here.
    bool WaitStat() const { return false; }
    // The server's Activate; the reason of a failure, nullopt when it worked.
    std::optional<std::string> ActivateServer(const std::string& title);

private:
    // The server, or nullptr after closing a link whose server went away.
    TDdeServer* LiveServer();

    std::string service_;
    std::string topic_;
    TDdeServer* server_ = nullptr;
};

} // namespace zeko
