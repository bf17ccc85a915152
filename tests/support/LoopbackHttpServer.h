#pragma once
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace TestSupport {

// A winsock socket, kept opaque so that this header needs no winsock header.
using SocketHandle = std::uintptr_t;
const SocketHandle kNoSocket = ~SocketHandle(0);

struct HttpHeader {
    std::string name;
    std::string value;
};

// One request as the server received it.
struct RecordedRequest {
    size_t sequence = 0; // arrival order, from 0, counted over the server's life
    std::string method;
    std::string target; // path and query as sent
    std::string path;   // target before '?'
    std::string query;  // target after '?', empty when there is none
    std::string version;
    std::vector<HttpHeader> headers; // in the order sent
    std::string body;                // de-chunked when sent chunked

    // Value of the first header of that name (compared ignoring case), or "".
    std::string Header(const std::string& name) const;
    bool HasHeader(const std::string& name) const;
};

// What the server does with one request.
struct ScriptedReply {
    enum class Action {
        Reply, // send status, headers and body, then close
        Stall, // hold the connection for stallMs, then reply or close
        Close, // close without any reply (the client sees an empty reply)
    };
    Action action = Action::Reply;
    int status = 200;
    std::string reason; // empty: the usual phrase for the status
    std::vector<HttpHeader> headers;
    std::string body;
    DWORD stallMs = 0;
    bool replyAfterStall = false;

    // 200 with the body; Content-Type as given.
    static ScriptedReply Ok(const std::string& body,
                            const std::string& contentType = "application/json");
    // What the statistics client takes as accepted: 200 {"error":0}.
    static ScriptedReply Success();
    // A well-formed reply that the statistics client does not accept.
    static ScriptedReply Failure();
    static ScriptedReply Status(int status, const std::string& body);
    // Holds the connection without answering, then closes it.
    static ScriptedReply Stall(DWORD milliseconds);
    static ScriptedReply StallThenReply(DWORD milliseconds, const ScriptedReply& reply);
    static ScriptedReply Close();
};

// HTTP/1.1 server on 127.0.0.1 for tests and the demo: one request per
// connection ("Connection: close"), each connection on a thread of its own,
// every request recorded, replies scripted by the test. The reply for a
// request is, in this order of precedence: the next reply pushed with
// PushReply, the next pushed for its path, the reply set for its path, the
// handler's answer, the default reply (Success() unless set).
class LoopbackHttpServer {
public:
    using Handler = std::function<ScriptedReply(const RecordedRequest&)>;
    using Observer = std::function<void(const RecordedRequest&)>;

    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    // Listens on 127.0.0.1:port; 0 picks a free port (see Port()).
    bool Start(unsigned short port = 0);
    // Ends stalls at once, closes every connection and waits for the threads.
    void Stop();

    unsigned short Port() const { return port_; }
    std::string BaseUrl() const; // "http://127.0.0.1:<port>"
    std::string Url(const std::string& pathAndQuery) const;

    void SetDefaultReply(const ScriptedReply& reply);
    void SetReplyForPath(const std::string& path, const ScriptedReply& reply);
    void PushReply(const ScriptedReply& reply);
    void PushReplyForPath(const std::string& path, const ScriptedReply& reply);
    // Called on the connection's thread, without the server's lock.
    void SetHandler(Handler handler);
    // Called for every request once it is recorded, on its connection's thread.
    void SetObserver(Observer observer);

    std::vector<RecordedRequest> Requests() const;
    size_t RequestCount() const;
    // True once at least count requests have arrived; false after timeoutMs.
    bool WaitForRequests(size_t count, DWORD timeoutMs) const;
    void ClearRequests();
    // Connections accepted so far (also those that never sent a request).
    size_t ConnectionCount() const { return connections_; }

private:
    struct Connection;

    void AcceptLoop();
    void Serve(SocketHandle client);
    void JoinFinished(bool all);
    ScriptedReply ChooseReply(const RecordedRequest& request);
    void Record(RecordedRequest& request);
    bool WaitStopped(DWORD milliseconds) const;

    SocketHandle listener_ = kNoSocket;
    unsigned short port_ = 0;
    bool winsockReady_ = false;
    std::atomic<bool> stopping_{false};
    HANDLE stopEvent_ = nullptr;
    std::thread acceptThread_;
    std::atomic<size_t> connections_{0};

    std::mutex connectionLock_;
    std::vector<std::unique_ptr<Connection>> active_;

    mutable std::mutex lock_;
    mutable std::condition_variable arrived_;
    std::vector<RecordedRequest> requests_;
    size_t nextSequence_ = 0;
    ScriptedReply defaultReply_;
    std::map<std::string, ScriptedReply> pathReplies_;
    std::deque<ScriptedReply> pushed_;
    std::map<std::string, std::deque<ScriptedReply>> pushedForPath_;
    Handler handler_;
    Observer observer_;
};

// A port on 127.0.0.1 whose listener never accepts and whose backlog is
// filled, so that a new connection to it hangs until the client's connect
// time-out.
class FullBacklogListener {
public:
    FullBacklogListener();
    ~FullBacklogListener();
    FullBacklogListener(const FullBacklogListener&) = delete;
    FullBacklogListener& operator=(const FullBacklogListener&) = delete;

    // False when the backlog could not be filled (then connects may succeed).
    bool Start();
    unsigned short Port() const { return port_; }
    std::string BaseUrl() const;

private:
    void CloseAll();

    bool winsockReady_ = false;
    SocketHandle listener_ = kNoSocket;
    std::vector<SocketHandle> fillers_;
    unsigned short port_ = 0;
};

// Form-field decoding as servers do it ('+' is a space, %XX a byte).
std::string PercentDecode(const std::string& text);
// Value of a field of an application/x-www-form-urlencoded body, decoded;
// empty when absent.
std::string FormField(const std::string& body, const std::string& name);

} // namespace TestSupport
