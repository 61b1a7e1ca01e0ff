#include <gtest/gtest.h>

#include <fstream>

#include "platform/file_sync.h"
#include "support/scratch_folder.h"

namespace kestrum {
namespace {

TEST(FileSync, FlushesFilesAndFoldersAndFailsOnAMissingPath) {
    test::ScratchFolder folder;
    const std::string file = (folder.Path() / "settings.ini").string();
    std::ofstream(file) << "[General]\n";
    EXPECT_TRUE(SyncToDisk(file));
    EXPECT_TRUE(SyncToDisk(folder.Path().string()));
    EXPECT_FALSE(SyncToDisk((folder.Path() / "missing.ini").string()));
}

}  // namespace
}  // namespace kestrum
