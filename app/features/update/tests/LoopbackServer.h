#pragma once
// A tiny HTTP server on 127.0.0.1 for the update tests: answers every request with the status
// and body it was given, on a port of its own, until it is destroyed.
#include <winsock2.h>

#include <atomic>
#include <string>
#include <thread>

#include <win/Lock.h>

class LoopbackServer {
public:
    LoopbackServer();
    ~LoopbackServer();
    bool Listening() const { return port_ != 0; }
    std::string Address(const std::string& path) const;
    void Serve(int status, const std::string& body);
    int Requests() const { return requests_; }

private:
    void Loop();
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::thread worker_;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    mutable win::CritSec lock_;
    int status_ = 200;
    std::string body_;
};
