// Every module of the shared corpus, which this project did not write, either loads into a module that
// keeps the loader's promises or is refused with a reason.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "music/file_source.h"
#include "music/xm_loader.h"
#include "tests/support/module_checks.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> corpusFiles(const char* folder) {
    std::vector<fs::path> files;
    fs::path directory = fs::path(INTRO_CORPUS_DIR) / folder;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(directory, error))
        if (entry.path().extension() == ".xm") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// The damaged files that are refused, and why.
const std::map<std::string, std::string> Refused = {
    {"ice21_ambiguous.xm", "not an XM module"},
    {"f__load_xm_zero_samples.xm", "no channels"},
    {"f__load_xm_invalid_pattern_length.xm", "truncated"},
};

} // namespace

TEST(Corpus, EverySongLoads) {
    std::vector<fs::path> files = corpusFiles("songs");
    if (files.empty()) GTEST_SKIP() << "no corpus at " << INTRO_CORPUS_DIR;
    fileSourceRegister();
    for (const fs::path& file : files) {
        Module* module = moduleLoad(file.string().c_str(), nullptr);
        ASSERT_NE(module, nullptr) << file << ": " << moduleLoadError();
        EXPECT_EQ(moduleCheckInvariants(module), "") << file;
        EXPECT_GT(module->songLength, 0) << file;
        EXPECT_GT(module->instrumentCount, 0) << file;
        moduleFree(module);
    }
}

TEST(Corpus, EveryTestModuleLoadsOrIsRefusedWithAReason) {
    std::vector<fs::path> files = corpusFiles("tests");
    if (files.empty()) GTEST_SKIP() << "no corpus at " << INTRO_CORPUS_DIR;
    fileSourceRegister();
    for (const fs::path& file : files) {
        Module* module = moduleLoad(file.string().c_str(), nullptr);
        auto refused = Refused.find(file.filename().string());
        if (refused != Refused.end()) {
            EXPECT_EQ(module, nullptr) << file;
            EXPECT_EQ(moduleLoadError(), refused->second) << file;
        } else {
            ASSERT_NE(module, nullptr) << file << ": " << moduleLoadError();
            EXPECT_EQ(moduleCheckInvariants(module), "") << file;
        }
        moduleFree(module);
    }
}

// A song whose file ends before its last instruments loads with those instruments empty.
TEST(Corpus, ASongWithoutItsTrailingInstrumentsLoads) {
    fs::path file = fs::path(INTRO_CORPUS_DIR) / "songs" / "ihana_paiva.xm";
    if (!fs::exists(file)) GTEST_SKIP() << "no corpus at " << INTRO_CORPUS_DIR;
    fileSourceRegister();
    Module* module = moduleLoad(file.string().c_str(), nullptr);
    ASSERT_NE(module, nullptr) << moduleLoadError();
    EXPECT_EQ(module->instrumentCount, 31);
    EXPECT_GT(module->instruments[5].sampleCount, 0);
    for (int i = 10; i < 31; ++i) EXPECT_EQ(module->instruments[i].sampleCount, 0) << i;
    moduleFree(module);
}
