// The host's durable writer: stopped after any step, the file holds its old
// content or the whole new one, and the next write goes through.
#include "wince/seam/durable_file.h"

#include <fstream>

#include "support/test_folder.h"
#include "wince/seam/durable_file_control.h"

namespace pellax_test {
namespace {

bool Write(const fs::path &file, std::string_view text, std::string &error) {
    const auto *bytes = reinterpret_cast<const uint8_t *>(text.data());
    return wince::WriteFileDurably(file, {bytes, text.size()}, error);
}

struct Folder {
    fs::path path = FreshTestFolder();
    Folder() { fs::create_directories(path); }
    ~Folder() { RemoveFolder(path); }
};

size_t FilesIn(const fs::path &folder) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(DurableFile, AStopAfterAnyStepLeavesTheOldOrTheWholeNewContent) {
    const struct {
        wince::DurableWriteStop stop;
        bool newInPlace;
    } cases[] = {{wince::DurableWriteStop::TemporaryMade, false},
                 {wince::DurableWriteStop::HalfWritten, false},
                 {wince::DurableWriteStop::Written, false},
                 {wince::DurableWriteStop::Flushed, false},
                 {wince::DurableWriteStop::Renamed, true}};
    const Folder folder;
    const fs::path file = folder.path / "settings.conf";
    for (const auto &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.stop));
        std::string error;
        ASSERT_TRUE(Write(file, "old", error)) << error;
        wince::StopNextDurableWrite(c.stop);
        EXPECT_FALSE(Write(file, "the whole new content", error));
        EXPECT_EQ(ReadBytes(file), c.newInPlace ? "the whole new content" : "old");
        // The temporary file a stopped write left behind does not block the next.
        ASSERT_TRUE(Write(file, "newer", error)) << error;
        EXPECT_EQ(ReadBytes(file), "newer");
        EXPECT_EQ(FilesIn(folder.path), 1u);
    }
}

TEST(DurableFile, AFailedWriteSaysWhyAndLosesNothing) {
    const Folder folder;
    // Root may write in any folder whatever its mode: a name one short of the
    // longest leaves no room for the temporary file's, and a folder in the
    // file's place refuses the rename.
    const fs::path longName = folder.path / std::string(252, 'n');
    const fs::path taken = folder.path / "taken.conf";
    fs::create_directories(taken / "inside");
    std::ofstream(longName) << "old";
    for (const fs::path &file : {longName, taken}) {
        std::string error;
        EXPECT_FALSE(Write(file, "new", error));
        EXPECT_NE(error.find(file.filename().string().substr(0, 8)), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos);
    }
    EXPECT_EQ(ReadBytes(longName), "old");
    EXPECT_TRUE(fs::is_directory(taken / "inside"));
    EXPECT_EQ(FilesIn(folder.path), 2u);
}

}  // namespace
}  // namespace pellax_test
