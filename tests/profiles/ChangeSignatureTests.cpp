// The change signature by which a reload cycle (the monitor's, and
// velmar-profiles watch) tells that the profile files changed, and the
// problems that make it load again without a change.

#include "profiles/ChangeSignature.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmar {
namespace {

TEST(ChangeSignature, UnreadableTimeNeverMatches) {
    const DirectoryEntry readable{"Profile_0001.dat", true, 5, 10, ""};
    const DirectoryEntry unreadable{"Profile_0001.dat", false, 0, 10, ""};
    const auto files = [](std::vector<DirectoryEntry> entries) {
        ChangeSignature signature;
        signature.Files = std::move(entries);
        return signature;
    };
    EXPECT_TRUE(SameSignature(files({readable}), files({readable})));
    EXPECT_TRUE(SameSignature(files({}), files({})));
    EXPECT_FALSE(SameSignature(files({unreadable}), files({unreadable})));
    EXPECT_FALSE(SameSignature(files({readable}), files({unreadable})));
    EXPECT_FALSE(SameSignature(files({readable}), files({})));
}

TEST(ChangeSignature, TheFoldersOwnStateCounts) {
    const auto folder = [](FolderState state, std::string reason = {},
                           std::vector<DirectoryEntry> others = {}) {
        ChangeSignature signature;
        signature.State = state;
        signature.Reason = std::move(reason);
        signature.Others = std::move(others);
        return signature;
    };
    const ChangeSignature empty = folder(FolderState::Listed);
    EXPECT_TRUE(SameSignature(folder(FolderState::Missing, "gone"), folder(FolderState::Missing, "gone")));
    for (const auto& other :
         {folder(FolderState::Missing, "gone"), folder(FolderState::NotAFolder, "file"),
          folder(FolderState::Unreadable, "permission denied"),
          folder(FolderState::Listed, {}, {{"Profile_0001.dat", false, 0, 0, "is a directory"}})}) {
        EXPECT_FALSE(SameSignature(empty, other)) << static_cast<int>(other.State) << " " << other.Reason;
        EXPECT_FALSE(SameSignature(other, empty));
    }
    EXPECT_FALSE(SameSignature(folder(FolderState::Unreadable, "permission denied"),
                               folder(FolderState::Unreadable, "input/output error")));
}

TEST(ChangeSignature, OnlyAFileThatCouldNotBeReadOrWasGoneIsReadAgainWithoutAChange) {
    struct Case {
        LoadProblemKind Kind;
        bool Again;
    };
    const std::vector<Case> cases = {
        {LoadProblemKind::FolderMissing, false},    {LoadProblemKind::FolderNotAFolder, false},
        {LoadProblemKind::FolderUnreadable, false}, {LoadProblemKind::FileUnreadable, true},
        {LoadProblemKind::FileVanished, true},      {LoadProblemKind::NotAFile, false},
        {LoadProblemKind::WrongVersion, false},     {LoadProblemKind::TooShort, false},
        {LoadProblemKind::BeyondSlots, false},
    };
    EXPECT_FALSE(MustReadAgain({}));
    for (const Case& c : cases) {
        const LoadProblem problem{c.Kind, "Profile_0002.dat", "permission denied"};
        EXPECT_EQ(MustReadAgain({problem}), c.Again) << static_cast<int>(c.Kind);
        EXPECT_TRUE(MustReadAgain({problem, {LoadProblemKind::FileVanished, "Profile_0003.dat", ""}}));
    }
}

} // namespace
} // namespace velmar
