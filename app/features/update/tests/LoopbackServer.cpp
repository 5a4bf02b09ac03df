#include "LoopbackServer.h"

#include <ws2tcpip.h>

LoopbackServer::LoopbackServer()
{
    WSADATA data{};
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return;
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof address;
    if (listener_ == INVALID_SOCKET || bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 8) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    port_ = ntohs(address.sin_port);
    worker_ = std::thread([this] { Loop(); });
}

LoopbackServer::~LoopbackServer()
{
    stop_ = true;
    if (listener_ != INVALID_SOCKET)
        closesocket(listener_);
    if (worker_.joinable())
        worker_.join();
    WSACleanup();
}

std::string LoopbackServer::Address(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void LoopbackServer::Serve(int status, const std::string& body)
{
    win::AutoLock hold(lock_);
    status_ = status;
    body_ = body;
}

void LoopbackServer::Loop()
{
    while (!stop_) {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(listener_, &ready);
        timeval wait{0, 100000};
        if (select(0, &ready, nullptr, nullptr, &wait) <= 0)
            continue;
        SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            continue;
        // Reads the request head, then answers and closes.
        std::string request;
        char chunk[1024];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const int got = recv(client, chunk, sizeof chunk, 0);
            if (got <= 0)
                break;
            request.append(chunk, static_cast<size_t>(got));
        }
        ++requests_;
        std::string answer;
        {
            win::AutoLock hold(lock_);
            answer = "HTTP/1.0 " + std::to_string(status_) + (status_ == 200 ? " OK" : " Not Found") +
                     "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body_.size()) +
                     "\r\nConnection: close\r\n\r\n" + body_;
        }
        send(client, answer.data(), static_cast<int>(answer.size()), 0);
        shutdown(client, SD_SEND);
        closesocket(client);
    }
}
