#pragma once
// Help (F1, and "/?" on the command line): the help file of the current
// language at its contents page.

#include <functional>
#include <string>
#include <vector>

#include "base/screen_point.h"
#include "platform/help_viewer.h"
#include "platform/message_box.h"

namespace kestrum {

// Where the help file `helpFilePath` (beside the program) may be, in the
// order looked at: the path itself, then the same file name in the
// installed data folder, <prefix>/share/kestrum, where the program is in
// <prefix>/bin (".." of the program's folder, then share/kestrum).
std::vector<std::string> HelpFileCandidates(const std::string& helpFilePath);

struct HelpContext {
    // HelpFilePath of the current language (beside the program).
    const std::string& helpFilePath;
    const int& language;
    const std::string& exeBaseName;  // caption of the message
    HelpViewer& viewer;
    MessageBoxes& messages;
    const ScreenPoint& dialogOrigin;
};

// MainMenuHelpOnClick: shows the first candidate that exists and can be
// read. When there is none, a warning (beep, then a box at the message
// position) names the file and every folder it was looked for in.
void MainMenuHelpOnClick(HelpContext& context);

}  // namespace kestrum
