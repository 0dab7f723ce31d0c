#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "music/file_source.h"
#include "music/module_source.h"
#include "music/source.h"
#include "music/xm_loader.h"

namespace {

int callbackCalls;
int fakeHandle;
void* fakeOpen(const char*) {
    return ++callbackCalls, &fakeHandle;
}
void* failingOpen(const char*) {
    return ++callbackCalls, nullptr;
}
void fakeClose(void*) {
    ++callbackCalls;
}
int32_t fakeRead(uint8_t*, int32_t, void*) {
    return ++callbackCalls, 0;
}
int32_t fakeSeek(void*, int32_t, int32_t) {
    return ++callbackCalls, 0;
}
int32_t fakeTell(void*) {
    return ++callbackCalls, 0;
}

bool tableEmpty() {
    return !sourceCallbacks.open && !sourceCallbacks.close && !sourceCallbacks.read &&
           !sourceCallbacks.seek && !sourceCallbacks.tell;
}

class SourceTest : public ::testing::Test {
  protected:
    void SetUp() override { callbackCalls = 0; }
    void TearDown() override {
        sourceSetData(nullptr, 0);
        setSourceCallbacks(nullptr, nullptr, nullptr, nullptr, nullptr);
    }
};

std::vector<uint8_t> countingBytes(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7);
    return bytes;
}

} // namespace

TEST_F(SourceTest, AnyNullCallbackEmptiesTheWholeTable) {
    EXPECT_TRUE(tableEmpty());
    setSourceCallbacks(fakeOpen, fakeClose, fakeRead, fakeSeek, fakeTell);
    EXPECT_EQ(sourceCallbacks.open, &fakeOpen);
    EXPECT_EQ(sourceCallbacks.tell, &fakeTell);
    setSourceCallbacks(fakeOpen, fakeClose, nullptr, fakeSeek, fakeTell);
    EXPECT_TRUE(tableEmpty());
    setSourceCallbacks(fakeOpen, fakeClose, fakeRead, fakeSeek, nullptr);
    EXPECT_TRUE(tableEmpty());
}

TEST_F(SourceTest, NullStreamsCallNothing) {
    setSourceCallbacks(fakeOpen, fakeClose, fakeRead, fakeSeek, fakeTell);
    uint8_t byte = 0;
    EXPECT_EQ(streamRead(&byte, 1, nullptr), 0);
    EXPECT_EQ(streamSeek(nullptr, 5, SeekSet), 0);
    EXPECT_EQ(streamTell(nullptr), 0);
    streamClose(nullptr);
    EXPECT_EQ(callbackCalls, 0);
}

TEST_F(SourceTest, StreamOpenCallsOpenOnceAndCloseOnce) {
    setSourceCallbacks(failingOpen, fakeClose, fakeRead, fakeSeek, fakeTell);
    EXPECT_EQ(streamOpen("x.xm"), nullptr);
    EXPECT_EQ(callbackCalls, 1);
    EXPECT_EQ(moduleLoad("x.xm", nullptr), nullptr);
    EXPECT_STREQ(moduleLoadError(), "cannot open the module");
    EXPECT_EQ(callbackCalls, 2);

    callbackCalls = 0;
    setSourceCallbacks(fakeOpen, fakeClose, fakeRead, fakeSeek, fakeTell);
    SourceStream* stream = streamOpen("x.xm");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->handle, &fakeHandle);
    streamClose(stream);
    EXPECT_EQ(callbackCalls, 2);
}

TEST_F(SourceTest, LoadWithoutCallbacksFails) {
    EXPECT_EQ(moduleLoad("x.xm", nullptr), nullptr);
    EXPECT_STREQ(moduleLoadError(), "cannot open the module");
}

TEST_F(SourceTest, ReadsStopAtTheEnd) {
    std::vector<uint8_t> bytes = countingBytes(12344);
    sourceSetData(bytes.data(), static_cast<uint32_t>(bytes.size()));
    void* source = sourceOpen("ignored");
    EXPECT_EQ(sourceTell(source), 0);
    EXPECT_EQ(sourceSeek(source, 12340, SeekSet), 12340);
    uint8_t buffer[17];
    memset(buffer, 0xAA, sizeof buffer);
    EXPECT_EQ(sourceRead(buffer, 17, source), 4);
    EXPECT_EQ(sourceTell(source), 12344);
    EXPECT_EQ(buffer[0], bytes[12340]);
    EXPECT_EQ(buffer[3], bytes[12343]);
    EXPECT_EQ(buffer[4], 0xAA); // the rest of the destination is left as it was
    EXPECT_EQ(sourceRead(buffer, 17, source), 0);
    EXPECT_EQ(sourceRead(buffer, -3, source), 0);
    sourceClose(source);
}

TEST_F(SourceTest, SeeksStayInsideTheData) {
    std::vector<uint8_t> bytes = countingBytes(100);
    sourceSetData(bytes.data(), static_cast<uint32_t>(bytes.size()));
    void* source = sourceOpen(nullptr);
    struct Case {
        int32_t start, offset, origin, expected;
    } cases[] = {
        {10, 20, SeekSet, 20},
        {10, 200, SeekSet, 100},
        {90, 20, SeekCurrent, 100},
        {10, -5, SeekCurrent, 5},
        {10, -50, SeekCurrent, 0},
        {10, -5, SeekSet, 0},
        {10, 7, SeekEnd, 100},
        {10, -7, SeekEnd, 100},
        {10, 7, 3, 10},
        {10, 5, 0x101, 15}, // only the low byte of the origin counts
        {10, 0x7FFFFFFF, SeekCurrent, 100},
    };
    for (const Case& c : cases) {
        sourceSeek(source, c.start, SeekSet);
        EXPECT_EQ(sourceSeek(source, c.offset, c.origin), c.expected)
            << c.start << " " << c.offset << " " << c.origin;
        EXPECT_EQ(sourceTell(source), c.expected);
    }
    sourceClose(source);
}

TEST_F(SourceTest, OpensAreIndependent) {
    std::vector<uint8_t> bytes = countingBytes(64);
    sourceSetData(bytes.data(), static_cast<uint32_t>(bytes.size()));
    void* first = sourceOpen("a");
    void* second = sourceOpen("b");
    uint8_t buffer[8];
    sourceRead(buffer, 8, first);
    sourceSeek(second, 30, SeekSet);
    EXPECT_EQ(sourceTell(first), 8);
    EXPECT_EQ(sourceTell(second), 30);
    sourceRead(buffer, 1, second);
    EXPECT_EQ(buffer[0], bytes[30]);
    sourceClose(first);
    sourceClose(second);
}

TEST_F(SourceTest, AMissingModuleGivesAnEmptySourceThatIsNotAnXm) {
    void* source = sourceOpen("track");
    ASSERT_NE(source, nullptr);
    uint8_t byte = 0;
    EXPECT_EQ(sourceRead(&byte, 1, source), 0);
    sourceClose(source);
    sourceRegister();
    EXPECT_EQ(moduleLoad("track", nullptr), nullptr);
    EXPECT_STREQ(moduleLoadError(), "not an XM module");
}

TEST_F(SourceTest, FileSourceReadsSeeksAndReportsMissingFiles) {
    std::string path = ::testing::TempDir() + "file_source_test.bin";
    std::vector<uint8_t> bytes = countingBytes(300);
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);

    void* source = fileSourceOpen(path.c_str());
    ASSERT_NE(source, nullptr);
    uint8_t buffer[16];
    EXPECT_EQ(fileSourceRead(buffer, 16, source), 16);
    EXPECT_EQ(fileSourceTell(source), 16);
    EXPECT_EQ(fileSourceSeek(source, 280, SeekCurrent), 296);
    EXPECT_EQ(fileSourceRead(buffer, 16, source), 4);
    EXPECT_EQ(buffer[3], bytes[299]);
    EXPECT_EQ(fileSourceSeek(source, 0, SeekEnd), 300);
    EXPECT_EQ(fileSourceSeek(source, -10, SeekSet), 0);
    EXPECT_EQ(fileSourceRead(buffer, 1, source), 1);
    EXPECT_EQ(buffer[0], bytes[0]);
    fileSourceClose(source);
    remove(path.c_str());

    EXPECT_EQ(fileSourceOpen(path.c_str()), nullptr);
    EXPECT_EQ(fileSourceOpenErrno(), ENOENT);
}
