#include "SimRegistry.h"

#include <algorithm>
#include <cctype>

namespace hw {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

}  // namespace

struct SimRegistry::Node {
    std::vector<std::string> order;                         // names as made
    std::map<std::string, std::unique_ptr<Node>> children;  // by lower-case name
    std::map<std::string, std::string> values;              // by lower-case name
};

SimRegistry::SimRegistry() : root_(std::make_unique<Node>()) {}
SimRegistry::~SimRegistry() = default;

void SimRegistry::Set(const std::string& path, const std::string& name, const std::string& value) {
    std::lock_guard<std::mutex> lock(mutex_);
    Node* node = root_.get();
    for (const std::string& part : SplitPath(path)) {
        auto& child = node->children[Lower(part)];
        if (!child) {
            child = std::make_unique<Node>();
            node->order.push_back(part);
        }
        node = child.get();
    }
    if (!name.empty()) node->values[Lower(name)] = value;
}

std::size_t SimRegistry::OpenKeys() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return handles_.size();
}

SimRegistry::Node* SimRegistry::Resolve(OsHandle key) const {
    if (key == kLocalMachineKey) return root_.get();
    const auto it = handles_.find(key);
    return it == handles_.end() ? nullptr : it->second;
}

bool SimRegistry::OpenKey(OsHandle parent, const std::string& subkey, OsHandle& key) {
    std::lock_guard<std::mutex> lock(mutex_);
    Node* node = Resolve(parent);
    for (const std::string& part : SplitPath(subkey)) {
        if (node == nullptr) break;
        const auto it = node->children.find(Lower(part));
        node = it == node->children.end() ? nullptr : it->second.get();
    }
    if (node == nullptr) return false;
    key = nextHandle_++;
    handles_[key] = node;
    return true;
}

EnumKeyOutcome SimRegistry::EnumSubkey(OsHandle key, std::uint32_t index, std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Node* node = Resolve(key);
    if (node == nullptr) return EnumKeyOutcome::Failed;
    if (index >= node->order.size()) return EnumKeyOutcome::NoMoreItems;
    name = node->order[index].substr(0, kRegistryTextMax);
    return EnumKeyOutcome::Found;
}

bool SimRegistry::QueryValue(OsHandle key, const std::string& valueName, std::string& value) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Node* node = Resolve(key);
    if (node == nullptr) return false;
    const auto it = node->values.find(Lower(valueName));
    if (it == node->values.end()) return false;
    const std::string& text = it->second;
    value = text.substr(0, std::min(text.find('\0'), kRegistryTextMax));
    return true;
}

void SimRegistry::CloseKey(OsHandle key) {
    std::lock_guard<std::mutex> lock(mutex_);
    handles_.erase(key);
}

}  // namespace hw
