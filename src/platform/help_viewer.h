#pragma once
// The help system: shows a help file at its contents page (help context 0).

#include <string>

namespace kestrum {

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // Shows the help file at `path` at its contents. False when the file
    // cannot be read (nothing is shown then).
    virtual bool ShowContents(const std::string& path) = 0;
};

}  // namespace kestrum
