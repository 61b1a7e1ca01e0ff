#pragma once
// Instance markers in memory for unit tests: a marker exists while one of
// its handles is open; names can be made to fail.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/instance_markers.h"

namespace kestrum {

class FakeInstanceMarkers : public InstanceMarkers {
public:
    std::set<std::string> FailingNames;  // CreateMutex fails for these
    std::vector<std::string> Calls;      // "create <name>", "release <h>", "close <h>"

    MarkerHandle CreateMutex(const std::string& name, bool& alreadyExists) override;
    bool ReleaseMutex(MarkerHandle handle) override;
    bool CloseHandle(MarkerHandle handle) override;

    bool Exists(const std::string& name) const;
    std::size_t OpenHandleCount() const { return handles_.size(); }

private:
    MarkerHandle next_ = 100;
    std::map<MarkerHandle, std::string> handles_;
};

}  // namespace kestrum
