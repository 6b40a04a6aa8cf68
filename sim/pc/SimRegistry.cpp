#include "sim/pc/SimRegistry.h"

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

// The path in one spelling: lower case, single separators, none at the ends.
std::string Normal(const std::string& path) {
    std::string joined;
    for (const std::string& part : SplitPath(path)) {
        if (!joined.empty()) joined += '\\';
        joined += Lower(part);
    }
    return joined;
}

std::set<std::string> Normal(const std::set<std::string>& paths) {
    std::set<std::string> normal;
    for (const std::string& path : paths) normal.insert(Normal(path));
    return normal;
}

}  // namespace

struct SimRegistry::Node {
    std::vector<std::string> order;                         // names as made
    std::map<std::string, std::unique_ptr<Node>> children;  // by lower-case name
    std::map<std::string, std::string> values;              // by lower-case name
};

SimRegistry::SimRegistry() : root_(std::make_unique<Node>()), rootKey_{root_.get(), ""} {}
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

void SimRegistry::FailOpening(const std::set<std::string>& paths) {
    std::lock_guard<std::mutex> lock(mutex_);
    unopenable_ = Normal(paths);
}

void SimRegistry::FailEnumerating(const std::set<std::string>& paths) {
    std::lock_guard<std::mutex> lock(mutex_);
    unenumerable_ = Normal(paths);
}

const SimRegistry::OpenedKey* SimRegistry::Resolve(OsHandle key) const {
    if (key == kLocalMachineKey) return &rootKey_;
    const auto it = handles_.find(key);
    return it == handles_.end() ? nullptr : &it->second;
}

bool SimRegistry::OpenKey(OsHandle parent, const std::string& subkey, OsHandle& key) {
    std::lock_guard<std::mutex> lock(mutex_);
    const OpenedKey* from = Resolve(parent);
    if (from == nullptr) return false;
    OpenedKey opened = *from;
    for (const std::string& part : SplitPath(subkey)) {
        const auto it = opened.node->children.find(Lower(part));
        if (it == opened.node->children.end()) return false;
        opened.node = it->second.get();
        if (!opened.path.empty()) opened.path += '\\';
        opened.path += Lower(part);
    }
    if (unopenable_.count(opened.path) != 0) return false;
    key = nextHandle_++;
    handles_.emplace(key, opened);
    return true;
}

EnumKeyOutcome SimRegistry::EnumSubkey(OsHandle key, std::uint32_t index, std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    const OpenedKey* opened = Resolve(key);
    if (opened == nullptr || unenumerable_.count(opened->path) != 0) return EnumKeyOutcome::Failed;
    if (index >= opened->node->order.size()) return EnumKeyOutcome::NoMoreItems;
    name = opened->node->order[index].substr(0, kRegistryTextMax);
    return EnumKeyOutcome::Found;
}

// A value is stored as its text and a terminating NUL: a text longer than
// kRegistryTextMax does not fit the reader's buffer and is unreadable.
bool SimRegistry::QueryValue(OsHandle key, const std::string& valueName, std::string& value) {
    std::lock_guard<std::mutex> lock(mutex_);
    const OpenedKey* opened = Resolve(key);
    if (opened == nullptr) return false;
    const auto it = opened->node->values.find(Lower(valueName));
    if (it == opened->node->values.end()) return false;
    const std::string& text = it->second;
    if (text.size() > kRegistryTextMax) return false;
    value = text.substr(0, text.find('\0'));
    return true;
}

void SimRegistry::CloseKey(OsHandle key) {
    std::lock_guard<std::mutex> lock(mutex_);
    handles_.erase(key);
}

}  // namespace hw
