// Per-mode protocol files: names, extensions by dialog filter, paths.
#include "document/protocol_files.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

TEST(ProtocolFiles, ExtensionByFilter) {
    struct Case {
        const char* name;
        const char* typed;
        int filter;
        const char* expected;
    } cases[] = {
        {"RTF filter forces .RTF over .txt", ".txt", 1, ".RTF"},
        {"TXT filter forces .TXT over .rtf", ".rtf", 2, ".TXT"},
        {"RTF filter keeps lower-case .rtf", ".rtf", 1, ".rtf"},
        {"TXT filter keeps mixed-case .Txt", ".Txt", 2, ".Txt"},
        {"RTF filter adds .RTF to no extension", "", 1, ".RTF"},
        {"all files keeps .log", ".log", 3, ".log"},
        {"all files keeps no extension", "", 3, ""},
        {"a similar but longer extension is replaced", ".rtfx", 1, ".RTF"},
    };
    for (const Case& c : cases) EXPECT_EQ(ExtensionForFilter(c.typed, c.filter), c.expected) << c.name;
}

TEST(ProtocolFiles, PathsJoinSplitAndChange) {
    EXPECT_EQ(JoinProtocolPath("/", "Test.RTF"), "/Test.RTF") << "a root gets no second separator";
    EXPECT_EQ(JoinProtocolPath("/home/u/", "Test.RTF"), "/home/u/Test.RTF");
    EXPECT_EQ(JoinProtocolPath("/home/u", "Test.RTF"), "/home/u/Test.RTF");
    EXPECT_EQ(JoinProtocolPath("", "Test"), "Test");

    struct Case {
        const char* path;
        const char* directory;
        const char* name;
        const char* ext;
    } cases[] = {
        {"/data/log.rtf", "/data", "log", ".rtf"},
        {"/Test.RTF", "/", "Test", ".RTF"},
        {"log", "", "log", ""},
        {"/data/archive.tar.gz", "/data", "archive.tar", ".gz"},
        {"/data/.hidden", "/data", ".hidden", ""},
        {"/dir.d/name", "/dir.d", "name", ""},
    };
    for (const Case& c : cases) {
        const ProtocolPathParts parts = SplitProtocolPath(c.path);
        EXPECT_EQ(parts.Directory, c.directory) << c.path;
        EXPECT_EQ(parts.Name, c.name) << c.path;
        EXPECT_EQ(parts.Ext, c.ext) << c.path;
    }
    EXPECT_EQ(ChangeExtension("/d/x.txt", ".RTF"), "/d/x.RTF");
    EXPECT_EQ(ChangeExtension("/d.x/y", ".TXT"), "/d.x/y.TXT");
    EXPECT_EQ(ChangeExtension("/d/x.txt", ""), "/d/x");
}

TEST(ProtocolFiles, DefaultFilePerModeFollowsTheSaveFilter) {
    Options options;
    options.Monitor = {"/mon", true, 1, 2};
    options.Sender = {"/", true, 1, 3};
    ProtocolFileState files;
    SetDefaultProtocolFiles(files, options);
    EXPECT_EQ(files.Modes[0], (ProtocolFile{"Test", ".TXT", "/mon/Test.TXT"}));
    EXPECT_EQ(files.Modes[1], (ProtocolFile{"Test", "", "/Test"}));

    // The current mode is read from MonitorMode each time it is used.
    EXPECT_EQ(ProtocolFileTitle(files, options), "Test.TXT");
    options.MonitorMode = false;
    EXPECT_EQ(ProtocolFileTitle(files, options), "Test");
    EXPECT_EQ(&CurrentModeFileOptions(options), &options.Sender);
    CurrentProtocolFile(files, options).ProtocolFileName = "sent";
    EXPECT_EQ(files.Modes[0].ProtocolFileName, "Test") << "the other mode keeps its file";
}

}  // namespace
}  // namespace kestrum
