// An open registry key that closes itself, and the subkey enumeration the
// discovery walks are built on.
#pragma once

#include <cstdint>
#include <string>

#include "platform/device/Registry.h"

namespace hw {

class RegistryKey {
  public:
    explicit RegistryKey(Registry& owner) : registry(owner) {}
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Opens parent\name for reading; any key held before is closed first.
    bool Open(OsHandle parent, const std::string& name) {
        Close();
        OsHandle opened = kNullHandle;
        if (!registry.OpenKey(parent, name, opened)) return false;
        handle = opened;
        isOpen = true;
        return true;
    }

    bool Open(const RegistryKey& parent, const std::string& name) {
        return Open(parent.handle, name);
    }

    // The value as text; false when the key is not open or the value unreadable.
    bool Read(const std::string& valueName, std::string& value) const {
        return isOpen && registry.QueryValue(handle, valueName, value);
    }

    OsHandle Handle() const { return handle; }

  private:
    void Close() {
        if (isOpen) registry.CloseKey(handle);
        isOpen = false;
    }

    Registry& registry;
    OsHandle handle = kNullHandle;
    bool isOpen = false;
};

// What a visitor of ForEachSubkey decides about one subkey.
enum class Visit { Next, Matched, Abort };

// How an enumeration ended.
enum class Walk { Matched, Exhausted, Aborted };

// Calls visit(name) for each subkey of key, by index from 0, until a visit
// matches or aborts. Exhausted when the subkeys run out; Aborted when a visit
// aborts or the enumeration itself fails.
template <class Visitor>
Walk ForEachSubkey(Registry& registry, const RegistryKey& key, Visitor&& visit) {
    std::string name;
    for (std::uint32_t index = 0;; ++index) {
        switch (registry.EnumSubkey(key.Handle(), index, name)) {
            case EnumKeyOutcome::NoMoreItems:
                return Walk::Exhausted;
            case EnumKeyOutcome::Failed:
                return Walk::Aborted;
            case EnumKeyOutcome::Found:
                break;
        }
        switch (visit(name)) {
            case Visit::Matched:
                return Walk::Matched;
            case Visit::Abort:
                return Walk::Aborted;
            case Visit::Next:
                break;
        }
    }
}

// Opens root below HKEY_LOCAL_MACHINE and searches two levels of subkeys: each
// subkey A that acceptOuter(A) takes is opened and its subkeys B are offered
// to visitInner(A, key of A, B). Subkeys that run out under A move on to the
// next A. True at the first match; false when the root cannot be opened, an
// A cannot be opened, an enumeration fails, a visit aborts or nothing matched.
template <class AcceptOuter, class VisitInner>
bool SearchTwoLevels(Registry& registry, const char* root, AcceptOuter&& acceptOuter,
                     VisitInner&& visitInner) {
    RegistryKey rootKey(registry);
    if (!rootKey.Open(kLocalMachineKey, root)) return false;
    const Walk walk = ForEachSubkey(registry, rootKey, [&](const std::string& outer) {
        if (!acceptOuter(outer)) return Visit::Next;
        RegistryKey outerKey(registry);
        if (!outerKey.Open(rootKey, outer)) return Visit::Abort;
        const Walk inner = ForEachSubkey(registry, outerKey, [&](const std::string& name) {
            return visitInner(outer, outerKey, name);
        });
        if (inner == Walk::Matched) return Visit::Matched;
        return inner == Walk::Exhausted ? Visit::Next : Visit::Abort;
    });
    return walk == Walk::Matched;
}

}  // namespace hw
