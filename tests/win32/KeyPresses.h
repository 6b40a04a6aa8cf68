// Keys pressed as the keyboard presses them (SendInput), for the Wine tests
// that check what the dialog manager makes of Enter and Esc, and a watch on
// one thread's message queue that tells when a key has gone all the way
// through it.
#pragma once

#include <windows.h>

#include <atomic>

namespace hw::test {

// Counts the key-ups of one key that a thread takes from its queue, from
// construction to destruction. A key-up comes after its key-down, and a
// thread takes one message after it has handled the one before, so a
// counted key-up means the key-down was handled.
class KeyUpWatch {
  public:
    KeyUpWatch(DWORD thread, WORD key) {
        watchedKey = key;
        keyUps = 0;
        hook = SetWindowsHookExA(WH_GETMESSAGE, Seen, nullptr, thread);
    }
    ~KeyUpWatch() {
        if (hook != nullptr) UnhookWindowsHookEx(hook);
    }
    KeyUpWatch(const KeyUpWatch&) = delete;
    KeyUpWatch& operator=(const KeyUpWatch&) = delete;

    bool Hooked() const { return hook != nullptr; }
    int KeyUps() const { return keyUps; }

  private:
    static LRESULT CALLBACK Seen(int code, WPARAM removal, LPARAM lParam) {
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (code == HC_ACTION && removal == PM_REMOVE && msg->message == WM_KEYUP &&
            msg->wParam == watchedKey) {
            ++keyUps;
        }
        return CallNextHookEx(nullptr, code, removal, lParam);
    }

    static inline std::atomic<WORD> watchedKey{0};
    static inline std::atomic<int> keyUps{0};
    HHOOK hook = nullptr;
};

// Presses and releases key on the keyboard of the foreground window.
inline bool PressKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, input, sizeof(INPUT)) == 2;
}

}  // namespace hw::test
