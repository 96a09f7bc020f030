// The one table of file failure messages, as the reader and the save commands word them.
#include "script/core/FileErrors.h"

#include <gtest/gtest.h>

#include <cerrno>

using qv::FileAction;
using qv::FileErrorText;

TEST(FileErrors, SameFailureSameWordsForReadingAndSaving) {
    EXPECT_EQ(FileErrorText(ENOENT, FileAction::Open), "File not found");
    EXPECT_EQ(FileErrorText(ENOENT, FileAction::Create), "Invalid filename");
    for (FileAction a : {FileAction::Open, FileAction::Create}) {
        EXPECT_EQ(FileErrorText(ENOTDIR, a), "Invalid filename");
        EXPECT_EQ(FileErrorText(EACCES, a), "File access denied");
        EXPECT_EQ(FileErrorText(EISDIR, a), "File access denied");
        EXPECT_EQ(FileErrorText(EMFILE, a), "Too many open files");
    }
    EXPECT_EQ(FileErrorText(ENOSPC, FileAction::Write), "Disk full");
    EXPECT_EQ(FileErrorText(EFBIG, FileAction::Write), "Disk full");
    EXPECT_EQ(FileErrorText(EIO, FileAction::Read), "Disk read error");
    EXPECT_EQ(FileErrorText(EIO, FileAction::Write), "I/O error " + std::to_string(EIO));
}
