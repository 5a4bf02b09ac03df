#pragma once
// Learning the address of the user's remote control: the set-up dialog waits up to 5 seconds
// for the key "0", and the address that came with it is kept when it is one a remote may
// have. The state lives with the main window, which receives the remote's keys.
#include <cstdint>

namespace remote {

// The message the remote control's receiver posts to the main window for each key: wParam the
// key ('0' to '9' for the digits), lParam the address byte that came with it (WM_APP + 0x140).
constexpr unsigned kRemoteKeyMessage = 0x8140;

// The addresses a remote may have, in the order they are tested.
constexpr std::uint8_t kValidAddresses[] = {0xFE, 0xFF, 0xFD, 0xFB, 0xF7, 0xEF, 0xDF, 0xBF};
bool IsValidAddress(int address);

// The main window's status text for the current address: 3006 configured, 3007 not.
int StatusTextFor(int address);

// Ticks of 100 ms the dialog waits for the key.
constexpr int kWaitTicks = 50;

class RemoteLearning {
public:
    enum class Tick { Waiting, Succeeded, Failed };

    explicit RemoteLearning(int address = 0) : m_address(address) {}

    // The dialog opened (or asked again): learning, not yet waiting.
    void Open();
    // The first timer fired: waiting for the key "0".
    void StartWaiting();
    // A key from the remote; true when learning took it (the key "0" while waiting).
    bool OnKey(int key, std::uint8_t address);
    // One 100 ms tick of the waiting timer; Succeeded or Failed once the key came or the
    // time ran out (the waiting timer then stops).
    Tick OnTick();
    // The dialog closed: both flags cleared, the count reset; `keep` makes the learned
    // address the current one, otherwise the old address stays.
    void Close(bool keep);

    bool Learning() const { return m_learning; }
    bool Waiting() const { return m_waiting; }
    int Address() const { return m_address; }
    int Learned() const { return m_learned; }

private:
    bool m_learning = false;
    bool m_waiting = false;
    std::uint8_t m_captured = 0;
    int m_ticks = 0;
    int m_address;
    int m_learned = -1;  // a valid address learned while the dialog is open, -1 for none
};

}  // namespace remote
