// The Linux edition's file store on a real temporary folder: a picture is written
// whole or not at all, an existing file is never touched, and a failure says why.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "TempFolder.h"
#include "capture/posix/desktop_posix.h"

namespace skl {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// Root may write anywhere: for a test of a folder that forbids writing, the process
// acts as nobody for a while.
class ActingAsNobody {
public:
    ActingAsNobody() : wasRoot_(geteuid() == 0) {
        if (wasRoot_ && seteuid(65534) != 0) throw std::runtime_error("seteuid failed");
    }
    ~ActingAsNobody() {
        if (wasRoot_ && seteuid(0) != 0) std::abort();
    }
    ActingAsNobody(const ActingAsNobody&) = delete;
    ActingAsNobody& operator=(const ActingAsNobody&) = delete;

private:
    bool wasRoot_;
};

// Files larger than `bytes` cannot be written for a while: the write that crosses
// the limit stops short and the next one fails.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousSignal_ = signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, previous_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        signal(SIGXFSZ, previousSignal_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    sighandler_t previousSignal_;
};

Text textOf(const fs::path& path) {
    const std::string bytes = path.string();
    return Text(bytes.begin(), bytes.end());  // the test's paths are ASCII
}

std::vector<std::uint8_t> contentOf(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> picture(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return bytes;
}

void expectFailure(const WriteResult& result, const Text& reason) {
    EXPECT_EQ(result.status, WriteResult::Status::Failed);
    EXPECT_EQ(result.reason, reason);
}

TEST(PosixFileStore, NewFileIsWrittenWhole) {
    TempFolder folder;
    PosixFileStore store;
    const fs::path file = folder.path() / "alice-12-14-2005 21-05-07 0.bmp";
    const std::vector<std::uint8_t> bytes = picture(234'000);
    const WriteResult result = store.writeNewFile(textOf(file), bytes);
    EXPECT_EQ(result.status, WriteResult::Status::Written);
    EXPECT_EQ(result.reason, L"");
    EXPECT_EQ(contentOf(file), bytes);
}

TEST(PosixFileStore, NamesAreWrittenAsUtf8) {
    TempFolder folder;
    PosixFileStore store;
    const Text name = textOf(folder.path()) + L"/Z\u00fcrich \u592a\u90ce-0.bmp";
    EXPECT_EQ(store.writeNewFile(name, picture(10)).status, WriteResult::Status::Written);
    EXPECT_EQ(contentOf(folder.path() / "Z\xC3\xBCrich \xE5\xA4\xAA\xE9\x83\x8E-0.bmp"), picture(10));
}

TEST(PosixFileStore, ExistingFileIsLeftAsItWasAndReported) {
    TempFolder folder;
    PosixFileStore store;
    const fs::path file = folder.path() / "taken.bmp";
    std::ofstream(file) << "earlier picture";
    const WriteResult result = store.writeNewFile(textOf(file), picture(100));
    EXPECT_EQ(result.status, WriteResult::Status::AlreadyExists);
    const std::string earlier = "earlier picture";
    EXPECT_EQ(contentOf(file), std::vector<std::uint8_t>(earlier.begin(), earlier.end()));

    // A folder of that name is taken too, not written into.
    fs::create_directory(folder.path() / "folder.bmp");
    EXPECT_EQ(store.writeNewFile(textOf(folder.path() / "folder.bmp"), picture(100)).status,
              WriteResult::Status::AlreadyExists);
}

TEST(PosixFileStore, MissingFolderOrAFileInItsPlaceFails) {
    TempFolder folder;
    PosixFileStore store;
    expectFailure(store.writeNewFile(textOf(folder.path() / "gone" / "a.bmp"), picture(10)),
                  L"The folder does not exist (or is not a folder).");
    std::ofstream(folder.path() / "plain") << "x";
    expectFailure(store.writeNewFile(textOf(folder.path() / "plain" / "a.bmp"), picture(10)),
                  L"The folder does not exist (or is not a folder).");
    EXPECT_FALSE(fs::exists(folder.path() / "gone"));
}

TEST(PosixFileStore, FolderThatForbidsWritingFailsAndStaysEmpty) {
    TempFolder folder;
    PosixFileStore store;
    const fs::path locked = folder.path() / "locked";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    WriteResult result;
    {
        const ActingAsNobody nobody;
        result = store.writeNewFile(textOf(locked / "a.bmp"), picture(10));
    }
    expectFailure(result, L"The system does not allow writing into that folder.");
    EXPECT_TRUE(fs::is_empty(locked));
}

TEST(PosixFileStore, FailedWriteRemovesThePartFile) {
    TempFolder folder;
    PosixFileStore store;
    const fs::path file = folder.path() / "big.bmp";
    WriteResult result;
    {
        const FileSizeLimit limit(1000);
        result = store.writeNewFile(textOf(file), picture(5000));
    }
    expectFailure(result, L"File too large.");
    EXPECT_FALSE(fs::exists(file));
}

TEST(PosixFileStore, NamesNoFileCanHaveFailWithoutWriting) {
    TempFolder folder;
    PosixFileStore store;
    const Text folderText = textOf(folder.path());
    // A NUL would cut the name short and so write another file.
    expectFailure(store.writeNewFile(folderText + Text(L"/a\0b.bmp", 8), picture(10)),
                  L"The ID holds characters that a file name may not contain.");
    expectFailure(store.writeNewFile(folderText + L"/a" + Text(1, wchar_t{0xD800}) + L".bmp", picture(10)),
                  L"The ID holds characters that a file name may not contain.");
    expectFailure(store.writeNewFile(folderText + L"/" + Text(300, L'n') + L".bmp", picture(10)),
                  L"The file name is too long.");
    EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST(PosixClock, ReadsLocalTimeAndMonotonicMilliseconds) {
    PosixClock clock;
    const LocalTime now = clock.localNow();
    EXPECT_GE(now.year, 2000);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12 && now.day >= 1 && now.day <= 31);
    EXPECT_TRUE(now.hour >= 0 && now.hour <= 23 && now.minute >= 0 && now.minute <= 59);
    const std::int64_t before = clock.monotonicMilliseconds();
    clock.sleepMilliseconds(20);
    const std::int64_t elapsed = clock.monotonicMilliseconds() - before;
    EXPECT_GE(elapsed, 20);
    EXPECT_LT(elapsed, 2000);
}

}  // namespace
}  // namespace skl
