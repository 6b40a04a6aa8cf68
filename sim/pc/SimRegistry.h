// The registry of the simulated PC below HKEY_LOCAL_MACHINE: a tree of keys
// whose subkeys enumerate in the order they were made and whose names and
// value names compare without regard to letter case. Keys can be made to
// fail to open or to enumerate, as keys of a real registry do when access is
// denied.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/device/Registry.h"

namespace hw {

class SimRegistry final : public Registry {
  public:
    SimRegistry();
    ~SimRegistry() override;

    // Makes the key at a backslash-separated path (and its parents) and, when
    // name is not empty, sets that value.
    void Set(const std::string& path, const std::string& name = "", const std::string& value = "");
    // Keys opened and not yet closed.
    std::size_t OpenKeys() const;

    // From now on, the keys at these paths (backslash-separated from
    // HKEY_LOCAL_MACHINE, any letter case) fail to open, or fail to enumerate
    // their subkeys. Each call replaces the set given before.
    void FailOpening(const std::set<std::string>& paths);
    void FailEnumerating(const std::set<std::string>& paths);

    bool OpenKey(OsHandle parent, const std::string& subkey, OsHandle& key) override;
    EnumKeyOutcome EnumSubkey(OsHandle key, std::uint32_t index, std::string& name) override;
    bool QueryValue(OsHandle key, const std::string& valueName, std::string& value) override;
    void CloseKey(OsHandle key) override;

  private:
    struct Node;
    struct OpenedKey {
        Node* node;
        std::string path;  // lower case, from HKEY_LOCAL_MACHINE
    };
    const OpenedKey* Resolve(OsHandle key) const;

    mutable std::mutex mutex_;
    std::unique_ptr<Node> root_;
    OpenedKey rootKey_;
    std::map<OsHandle, OpenedKey> handles_;
    std::set<std::string> unopenable_;    // lower-case paths
    std::set<std::string> unenumerable_;  // lower-case paths
    OsHandle nextHandle_ = 0x1000;
};

}  // namespace hw
