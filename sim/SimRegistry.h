// The registry of the simulated PC below HKEY_LOCAL_MACHINE: a tree of keys
// whose subkeys enumerate in the order they were made and whose names and
// value names compare without regard to letter case.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Registry.h"

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

    bool OpenKey(OsHandle parent, const std::string& subkey, OsHandle& key) override;
    EnumKeyOutcome EnumSubkey(OsHandle key, std::uint32_t index, std::string& name) override;
    bool QueryValue(OsHandle key, const std::string& valueName, std::string& value) override;
    void CloseKey(OsHandle key) override;

  private:
    struct Node;
    Node* Resolve(OsHandle key) const;

    mutable std::mutex mutex_;
    std::unique_ptr<Node> root_;
    std::map<OsHandle, Node*> handles_;
    OsHandle nextHandle_ = 0x1000;
};

}  // namespace hw
