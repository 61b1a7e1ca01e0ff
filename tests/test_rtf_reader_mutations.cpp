// Seeded random mutations of the fuzzing corpus, run with every test run:
// a small, always-present cousin of the libFuzzer target.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "fuzz/rtf_reader_check.h"
#include "support/scratch_folder.h"

using kestrum::test::CheckRtfReader;
using kestrum::test::ReadFileBytes;

namespace {

constexpr int kMutantsPerFile = 4000;
constexpr auto kTimeBudget = std::chrono::seconds(4);

const char* const kTokens[] = {
    "{", "}", "\\", "\\'", "\\'8", "\\u", "\\u-", "\\uc", "\\bin", "\\bin2 ", "\\*", "\\par", "\\line", "\\f",
    "\\fs", "\\cf", "\\b0", "\\plain", "\\fonttbl", "\\colortbl", "\\red", "\\pict", "\\fldinst", ";", " ", "-",
    "0", "9", "65535", "99999999999", "\r\n",
};

std::string Mutate(const std::string& seed, std::mt19937& random) {
    std::string s = seed;
    const int steps = 1 + static_cast<int>(random() % 4);
    for (int step = 0; step < steps; ++step) {
        const std::size_t at = s.empty() ? 0 : random() % (s.size() + 1);
        const std::size_t length = 1 + random() % 16;
        switch (random() % 6) {
            case 0:  // flip a byte
                if (at < s.size()) s[at] = static_cast<char>(random());
                break;
            case 1:  // insert a token
                s.insert(at, kTokens[random() % std::size(kTokens)]);
                break;
            case 2:  // delete bytes
                if (at < s.size()) s.erase(at, length);
                break;
            case 3:  // repeat bytes
                if (at < s.size()) s.insert(at, s.substr(at, length));
                break;
            case 4:  // cut the file short
                s.resize(at);
                break;
            default:  // a byte from another place
                if (at < s.size() && !s.empty()) s[at] = s[random() % s.size()];
                break;
        }
    }
    return s;
}

}  // namespace

TEST(RtfReaderMutations, CorpusMutantsKeepEveryProperty) {
    const std::filesystem::path corpus = std::filesystem::path(KESTRUM_SOURCE_DIR) / "tests/fuzz/corpus";
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 3u) << corpus;

    const auto deadline = std::chrono::steady_clock::now() + kTimeBudget;
    std::mt19937 random(20240517);
    int checked = 0;
    for (const auto& file : files) {
        const std::string seed = ReadFileBytes(file.string());
        ASSERT_EQ(CheckRtfReader(seed), "") << file;
        for (int i = 0; i < kMutantsPerFile && std::chrono::steady_clock::now() < deadline; ++i, ++checked) {
            const std::string mutant = Mutate(seed, random);
            const std::string problem = CheckRtfReader(mutant);
            ASSERT_EQ(problem, "") << file.filename() << " mutant " << i << ":\n" << mutant;
        }
    }
    EXPECT_GT(checked, 0);
}
