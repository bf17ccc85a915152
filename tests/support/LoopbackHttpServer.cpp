#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include "tests/support/LoopbackHttpServer.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <iterator>
#include <type_traits>

namespace TestSupport {

static_assert(std::is_same<SOCKET, SocketHandle>::value && INVALID_SOCKET == kNoSocket,
              "the header's socket type must be winsock's");

namespace {

const size_t kMaxHeaderBytes = 64 * 1024;
const size_t kMaxBodyBytes = 64 * 1024 * 1024;
const DWORD kIdleLimitMs = 30000;
const DWORD kSliceMs = 50;

bool EqualsIgnoreCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return std::string();
    }
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

const char* ReasonFor(int status) {
    switch (status) {
    case 100:
        return "Continue";
    case 200:
        return "OK";
    case 204:
        return "No Content";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    case 502:
        return "Bad Gateway";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

bool InitWinsock() {
    WSADATA data = {};
    return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

sockaddr_in LoopbackAddress(unsigned short port) {
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

unsigned short BoundPort(SOCKET socket) {
    sockaddr_in address = {};
    int length = sizeof(address);
    if (::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return 0;
    }
    return ntohs(address.sin_port);
}

// Waits until the socket is readable, at most one slice.
bool Readable(SOCKET socket, DWORD milliseconds) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval wait = {static_cast<long>(milliseconds / 1000),
                    static_cast<long>((milliseconds % 1000) * 1000)};
    return ::select(0, &set, nullptr, nullptr, &wait) == 1;
}

bool SendAll(SOCKET socket, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const int chunk = static_cast<int>(std::min<size_t>(bytes.size() - sent, 1 << 20));
        const int n = ::send(socket, bytes.data() + sent, chunk, 0);
        if (n <= 0) {
            return false;
        }
        sent += static_cast<size_t>(n);
    }
    return true;
}

// Reads one request from a connection; 'stop' ends the wait early.
class RequestReader {
public:
    RequestReader(SOCKET socket, const std::atomic<bool>& stop) : socket_(socket), stop_(stop) {}

    bool Read(RecordedRequest& request) {
        size_t headerEnd = std::string::npos;
        while ((headerEnd = buffer_.find("\r\n\r\n")) == std::string::npos) {
            if (buffer_.size() > kMaxHeaderBytes || !Fill()) {
                return false;
            }
        }
        if (!ParseHead(buffer_.substr(0, headerEnd), request)) {
            return false;
        }
        buffer_.erase(0, headerEnd + 4);
        if (EqualsIgnoreCase(request.Header("Expect"), "100-continue") &&
            !SendAll(socket_, "HTTP/1.1 100 Continue\r\n\r\n")) {
            return false;
        }
        if (EqualsIgnoreCase(Trim(request.Header("Transfer-Encoding")), "chunked")) {
            return ReadChunked(request.body);
        }
        const std::string length = request.Header("Content-Length");
        if (length.empty()) {
            return true;
        }
        char* end = nullptr;
        const unsigned long long size = std::strtoull(length.c_str(), &end, 10);
        if (end == length.c_str() || size > kMaxBodyBytes) {
            return false;
        }
        return Take(static_cast<size_t>(size), request.body);
    }

private:
    bool Fill() {
        DWORD idle = 0;
        while (!stop_) {
            if (Readable(socket_, kSliceMs)) {
                char chunk[16384];
                const int n = ::recv(socket_, chunk, sizeof(chunk), 0);
                if (n <= 0) {
                    return false;
                }
                buffer_.append(chunk, static_cast<size_t>(n));
                return true;
            }
            idle += kSliceMs;
            if (idle >= kIdleLimitMs) {
                return false;
            }
        }
        return false;
    }

    bool Take(size_t count, std::string& out) {
        while (buffer_.size() < count) {
            if (!Fill()) {
                return false;
            }
        }
        out.append(buffer_, 0, count);
        buffer_.erase(0, count);
        return true;
    }

    bool TakeLine(std::string& line) {
        size_t end;
        while ((end = buffer_.find("\r\n")) == std::string::npos) {
            if (buffer_.size() > kMaxHeaderBytes || !Fill()) {
                return false;
            }
        }
        line = buffer_.substr(0, end);
        buffer_.erase(0, end + 2);
        return true;
    }

    bool ReadChunked(std::string& body) {
        for (;;) {
            std::string line;
            if (!TakeLine(line)) {
                return false;
            }
            char* end = nullptr;
            const unsigned long long size = std::strtoull(line.c_str(), &end, 16);
            if (end == line.c_str() || body.size() + size > kMaxBodyBytes) {
                return false;
            }
            if (size == 0) {
                // Trailer lines up to the empty one.
                while (TakeLine(line)) {
                    if (line.empty()) {
                        return true;
                    }
                }
                return false;
            }
            std::string crlf;
            if (!Take(static_cast<size_t>(size), body) || !Take(2, crlf) || crlf != "\r\n") {
                return false;
            }
        }
    }

    static bool ParseHead(const std::string& head, RecordedRequest& request) {
        size_t lineEnd = head.find("\r\n");
        const std::string requestLine = head.substr(0, lineEnd);
        const size_t firstSpace = requestLine.find(' ');
        const size_t lastSpace = requestLine.rfind(' ');
        if (firstSpace == std::string::npos || lastSpace == firstSpace) {
            return false;
        }
        request.method = requestLine.substr(0, firstSpace);
        request.target = requestLine.substr(firstSpace + 1, lastSpace - firstSpace - 1);
        request.version = requestLine.substr(lastSpace + 1);
        const size_t question = request.target.find('?');
        request.path = request.target.substr(0, question);
        request.query = question == std::string::npos ? "" : request.target.substr(question + 1);
        while (lineEnd != std::string::npos) {
            const size_t start = lineEnd + 2;
            lineEnd = head.find("\r\n", start);
            const std::string line = head.substr(
                start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
            const size_t colon = line.find(':');
            if (colon == std::string::npos) {
                continue;
            }
            request.headers.push_back({line.substr(0, colon), Trim(line.substr(colon + 1))});
        }
        return true;
    }

    SOCKET socket_;
    const std::atomic<bool>& stop_;
    std::string buffer_;
};

std::string FormatReply(const ScriptedReply& reply) {
    std::string text = "HTTP/1.1 " + std::to_string(reply.status) + " " +
                       (reply.reason.empty() ? ReasonFor(reply.status) : reply.reason) + "\r\n";
    bool hasLength = false;
    for (const HttpHeader& header : reply.headers) {
        text += header.name + ": " + header.value + "\r\n";
        hasLength = hasLength || EqualsIgnoreCase(header.name, "Content-Length");
    }
    if (!hasLength) {
        text += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
    }
    text += "Connection: close\r\n\r\n";
    return text + reply.body;
}

// Ends the connection with FIN, not RST: the client reads the reply (or
// nothing) and then the end of the stream.
void CloseGracefully(SOCKET socket) {
    ::shutdown(socket, SD_SEND);
    for (int i = 0; i < 20 && Readable(socket, kSliceMs); ++i) {
        char sink[4096];
        if (::recv(socket, sink, sizeof(sink), 0) <= 0) {
            break;
        }
    }
    ::closesocket(socket);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

} // namespace

std::string RecordedRequest::Header(const std::string& name) const {
    for (const HttpHeader& header : headers) {
        if (EqualsIgnoreCase(header.name, name)) {
            return header.value;
        }
    }
    return std::string();
}

bool RecordedRequest::HasHeader(const std::string& name) const {
    return std::any_of(headers.begin(), headers.end(),
                       [&](const HttpHeader& h) { return EqualsIgnoreCase(h.name, name); });
}

ScriptedReply ScriptedReply::Ok(const std::string& body, const std::string& contentType) {
    ScriptedReply reply;
    reply.body = body;
    reply.headers.push_back({"Content-Type", contentType});
    return reply;
}

ScriptedReply ScriptedReply::Success() {
    return Ok("{\"error\":0,\"msg\":\"ok\"}");
}

ScriptedReply ScriptedReply::Failure() {
    return Ok("{\"error\":1,\"msg\":\"rejected\"}");
}

ScriptedReply ScriptedReply::Status(int status, const std::string& body) {
    ScriptedReply reply = Ok(body, "text/plain");
    reply.status = status;
    return reply;
}

ScriptedReply ScriptedReply::Stall(DWORD milliseconds) {
    ScriptedReply reply;
    reply.action = Action::Stall;
    reply.stallMs = milliseconds;
    reply.replyAfterStall = false;
    return reply;
}

ScriptedReply ScriptedReply::StallThenReply(DWORD milliseconds, const ScriptedReply& then) {
    ScriptedReply reply = then;
    reply.action = Action::Stall;
    reply.stallMs = milliseconds;
    reply.replyAfterStall = true;
    return reply;
}

ScriptedReply ScriptedReply::Close() {
    ScriptedReply reply;
    reply.action = Action::Close;
    return reply;
}

struct LoopbackHttpServer::Connection {
    std::thread thread;
    std::atomic<bool> done{false};
};

LoopbackHttpServer::LoopbackHttpServer() : defaultReply_(ScriptedReply::Success()) {
    winsockReady_ = InitWinsock();
    stopEvent_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

LoopbackHttpServer::~LoopbackHttpServer() {
    Stop();
    if (stopEvent_ != nullptr) {
        ::CloseHandle(stopEvent_);
    }
    if (winsockReady_) {
        ::WSACleanup();
    }
}

bool LoopbackHttpServer::Start(unsigned short port) {
    if (!winsockReady_ || stopEvent_ == nullptr || listener_ != INVALID_SOCKET) {
        return false;
    }
    listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener_ == INVALID_SOCKET) {
        return false;
    }
    const sockaddr_in address = LoopbackAddress(port);
    if (::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(listener_, SOMAXCONN) != 0 || (port_ = BoundPort(listener_)) == 0) {
        ::closesocket(listener_);
        listener_ = INVALID_SOCKET;
        return false;
    }
    stopping_ = false;
    ::ResetEvent(stopEvent_);
    acceptThread_ = std::thread([this] { AcceptLoop(); });
    return true;
}

void LoopbackHttpServer::Stop() {
    if (listener_ == INVALID_SOCKET) {
        return;
    }
    stopping_ = true;
    ::SetEvent(stopEvent_);
    if (acceptThread_.joinable()) {
        acceptThread_.join();
    }
    ::closesocket(listener_);
    listener_ = INVALID_SOCKET;
    JoinFinished(true);
}

std::string LoopbackHttpServer::BaseUrl() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

std::string LoopbackHttpServer::Url(const std::string& pathAndQuery) const {
    return BaseUrl() + pathAndQuery;
}

void LoopbackHttpServer::AcceptLoop() {
    while (!stopping_) {
        JoinFinished(false);
        if (!Readable(listener_, kSliceMs)) {
            continue;
        }
        const SOCKET client = ::accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) {
            continue;
        }
        ++connections_;
        auto connection = std::make_unique<Connection>();
        Connection* const raw = connection.get();
        const std::lock_guard<std::mutex> guard(connectionLock_);
        active_.push_back(std::move(connection));
        raw->thread = std::thread([this, client, raw] {
            Serve(client);
            raw->done = true;
        });
    }
}

void LoopbackHttpServer::JoinFinished(bool all) {
    std::vector<std::unique_ptr<Connection>> finished;
    {
        const std::lock_guard<std::mutex> guard(connectionLock_);
        auto split = std::stable_partition(
            active_.begin(), active_.end(),
            [all](const std::unique_ptr<Connection>& c) { return !all && !c->done; });
        std::move(split, active_.end(), std::back_inserter(finished));
        active_.erase(split, active_.end());
    }
    for (auto& connection : finished) {
        if (connection->thread.joinable()) {
            connection->thread.join();
        }
    }
}

bool LoopbackHttpServer::WaitStopped(DWORD milliseconds) const {
    return ::WaitForSingleObject(stopEvent_, milliseconds) == WAIT_OBJECT_0;
}

void LoopbackHttpServer::Serve(SocketHandle client) {
    RecordedRequest request;
    RequestReader reader(client, stopping_);
    if (!reader.Read(request)) {
        CloseGracefully(client);
        return;
    }
    Record(request);
    const ScriptedReply reply = ChooseReply(request);
    bool answer = reply.action == ScriptedReply::Action::Reply;
    if (reply.action == ScriptedReply::Action::Stall) {
        answer = !WaitStopped(reply.stallMs) && reply.replyAfterStall;
    }
    if (answer) {
        SendAll(client, FormatReply(reply));
    }
    CloseGracefully(client);
}

void LoopbackHttpServer::Record(RecordedRequest& request) {
    Observer observer;
    {
        const std::lock_guard<std::mutex> guard(lock_);
        request.sequence = nextSequence_++;
        requests_.push_back(request);
        observer = observer_;
    }
    arrived_.notify_all();
    if (observer) {
        observer(request);
    }
}

ScriptedReply LoopbackHttpServer::ChooseReply(const RecordedRequest& request) {
    Handler handler;
    {
        const std::lock_guard<std::mutex> guard(lock_);
        if (!pushed_.empty()) {
            const ScriptedReply reply = pushed_.front();
            pushed_.pop_front();
            return reply;
        }
        const auto forPath = pushedForPath_.find(request.path);
        if (forPath != pushedForPath_.end() && !forPath->second.empty()) {
            const ScriptedReply reply = forPath->second.front();
            forPath->second.pop_front();
            return reply;
        }
        const auto fixed = pathReplies_.find(request.path);
        if (fixed != pathReplies_.end()) {
            return fixed->second;
        }
        if (!handler_) {
            return defaultReply_;
        }
        handler = handler_;
    }
    return handler(request);
}

void LoopbackHttpServer::SetDefaultReply(const ScriptedReply& reply) {
    const std::lock_guard<std::mutex> guard(lock_);
    defaultReply_ = reply;
}

void LoopbackHttpServer::SetReplyForPath(const std::string& path, const ScriptedReply& reply) {
    const std::lock_guard<std::mutex> guard(lock_);
    pathReplies_[path] = reply;
}

void LoopbackHttpServer::PushReply(const ScriptedReply& reply) {
    const std::lock_guard<std::mutex> guard(lock_);
    pushed_.push_back(reply);
}

void LoopbackHttpServer::PushReplyForPath(const std::string& path, const ScriptedReply& reply) {
    const std::lock_guard<std::mutex> guard(lock_);
    pushedForPath_[path].push_back(reply);
}

void LoopbackHttpServer::SetHandler(Handler handler) {
    const std::lock_guard<std::mutex> guard(lock_);
    handler_ = std::move(handler);
}

void LoopbackHttpServer::SetObserver(Observer observer) {
    const std::lock_guard<std::mutex> guard(lock_);
    observer_ = std::move(observer);
}

std::vector<RecordedRequest> LoopbackHttpServer::Requests() const {
    const std::lock_guard<std::mutex> guard(lock_);
    return requests_;
}

size_t LoopbackHttpServer::RequestCount() const {
    const std::lock_guard<std::mutex> guard(lock_);
    return requests_.size();
}

bool LoopbackHttpServer::WaitForRequests(size_t count, DWORD timeoutMs) const {
    std::unique_lock<std::mutex> guard(lock_);
    return arrived_.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                             [&] { return requests_.size() >= count; });
}

void LoopbackHttpServer::ClearRequests() {
    const std::lock_guard<std::mutex> guard(lock_);
    requests_.clear();
}

FullBacklogListener::FullBacklogListener() {
    winsockReady_ = InitWinsock();
}

FullBacklogListener::~FullBacklogListener() {
    CloseAll();
    if (winsockReady_) {
        ::WSACleanup();
    }
}

void FullBacklogListener::CloseAll() {
    for (const SOCKET filler : fillers_) {
        ::closesocket(filler);
    }
    fillers_.clear();
    if (listener_ != INVALID_SOCKET) {
        ::closesocket(listener_);
        listener_ = INVALID_SOCKET;
    }
}

bool FullBacklogListener::Start() {
    if (!winsockReady_ || listener_ != INVALID_SOCKET) {
        return false;
    }
    listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    const sockaddr_in address = LoopbackAddress(0);
    if (listener_ == INVALID_SOCKET ||
        ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(listener_, 1) != 0 || (port_ = BoundPort(listener_)) == 0) {
        CloseAll();
        return false;
    }
    const sockaddr_in target = LoopbackAddress(port_);
    // Connect until one connection no longer completes: from then on the
    // system drops new connection attempts to this port.
    for (int i = 0; i < 64; ++i) {
        const SOCKET filler = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (filler == INVALID_SOCKET) {
            break;
        }
        u_long nonBlocking = 1;
        ::ioctlsocket(filler, FIONBIO, &nonBlocking);
        fillers_.push_back(filler);
        ::connect(filler, reinterpret_cast<const sockaddr*>(&target), sizeof(target));
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(filler, &writable);
        timeval wait = {0, 300 * 1000};
        if (::select(0, nullptr, &writable, nullptr, &wait) == 0) {
            return true;
        }
    }
    CloseAll();
    return false;
}

std::string FullBacklogListener::BaseUrl() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

std::string PercentDecode(const std::string& text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            decoded += ' ';
        } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
                   HexValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            decoded += c;
        }
    }
    return decoded;
}

std::string FormField(const std::string& body, const std::string& name) {
    size_t start = 0;
    while (start <= body.size()) {
        size_t end = body.find('&', start);
        if (end == std::string::npos) {
            end = body.size();
        }
        const std::string pair = body.substr(start, end - start);
        const size_t equals = pair.find('=');
        if (PercentDecode(pair.substr(0, equals)) == name) {
            return equals == std::string::npos ? std::string()
                                               : PercentDecode(pair.substr(equals + 1));
        }
        start = end + 1;
    }
    return std::string();
}

} // namespace TestSupport
