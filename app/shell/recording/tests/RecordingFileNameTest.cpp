// The save dialog's name rules: ".mpg" added, the question before replacing, the remembered
// folder and filter, and the path limit.
#include <gtest/gtest.h>

#include <deque>
#include <set>

#include "RecordingFileName.h"

namespace {

using recording::NameChoice;

struct ScriptedPrompt final : recording::SaveNamePrompt {
    std::deque<std::optional<std::string>> answers;  // what the dialog returns, in turn
    int filterChoice = 2;
    std::set<std::string> existing;
    std::deque<bool> replies;  // answers to the replace question
    std::vector<std::string> openedIn;
    std::vector<std::string> asked;

    std::optional<std::string> AskName(const std::string& folder, int& filterIndex) override
    {
        openedIn.push_back(folder + "#" + std::to_string(filterIndex));
        if (answers.empty())
            return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        if (answer)
            filterIndex = filterChoice;
        return answer;
    }
    bool FileExists(const std::string& path) const override { return existing.count(path) != 0; }
    bool ConfirmReplace(const std::string& path) override
    {
        asked.push_back(path);
        const bool yes = !replies.empty() && replies.front();
        if (!replies.empty())
            replies.pop_front();
        return yes;
    }
};

TEST(RecordingFileName, ExtensionQuestionAndRememberedChoices)
{
    const struct {
        std::vector<std::optional<std::string>> answers;
        std::vector<std::string> existing;
        std::vector<bool> replies;
        NameChoice::Outcome outcome;
        std::string name;
        std::vector<std::string> asked;
        size_t dialogs;
    } cases[] = {
        {{"D:\\rec\\take"}, {}, {}, NameChoice::kNamed, "D:\\rec\\take.mpg", {}, 1},
        {{"D:\\rec\\take.m2p"}, {"D:\\rec\\take.m2p"}, {}, NameChoice::kNamed, "D:\\rec\\take.m2p", {}, 1},
        {{"D:\\rec\\take"}, {"D:\\rec\\take.mpg"}, {true}, NameChoice::kNamed, "D:\\rec\\take.mpg",
         {"D:\\rec\\take.mpg"}, 1},
        // No shows the dialog again.
        {{"D:\\rec\\take", "D:\\rec\\other.mpg"}, {"D:\\rec\\take.mpg"}, {false}, NameChoice::kNamed,
         "D:\\rec\\other.mpg", {"D:\\rec\\take.mpg"}, 2},
        {{"D:\\rec\\take", std::nullopt}, {"D:\\rec\\take.mpg"}, {false}, NameChoice::kCancelled, "",
         {"D:\\rec\\take.mpg"}, 2},
        {{std::nullopt}, {}, {}, NameChoice::kCancelled, "", {}, 1},
        {{std::string()}, {}, {}, NameChoice::kCancelled, "", {}, 1},
        // A dot in the folder is no extension.
        {{"D:\\rec.d\\take"}, {}, {}, NameChoice::kNamed, "D:\\rec.d\\take.mpg", {}, 1},
        {{"D:\\rec\\take."}, {}, {}, NameChoice::kNamed, "D:\\rec\\take..mpg", {}, 1},
    };
    for (const auto& c : cases) {
        ScriptedPrompt prompt;
        prompt.answers.assign(c.answers.begin(), c.answers.end());
        prompt.existing.insert(c.existing.begin(), c.existing.end());
        prompt.replies.assign(c.replies.begin(), c.replies.end());
        settings::CaptureSettings s;
        s.recordingFolder = "E:\\recordings\\";
        s.lastSaveFolder = "unchanged";
        s.saveFilterIndex = 1;
        const NameChoice choice = recording::AskRecordingFileName(prompt, s);
        const std::string label = c.answers.front().value_or("(cancel)");
        EXPECT_EQ(choice.outcome, c.outcome) << label;
        EXPECT_EQ(choice.name, c.name) << label;
        EXPECT_EQ(prompt.asked, c.asked) << label;
        ASSERT_EQ(prompt.openedIn.size(), c.dialogs) << label;
        EXPECT_EQ(prompt.openedIn.front(), "E:\\recordings\\#1") << "opens in the recording folder";
        if (c.outcome == NameChoice::kNamed) {
            EXPECT_EQ(s.lastSaveFolder, recording::FolderOf(c.name)) << label;
            EXPECT_EQ(s.saveFilterIndex, 2);
        } else {
            EXPECT_EQ(s.lastSaveFolder, "unchanged") << label;
        }
    }
}

TEST(RecordingFileName, NameLongerThanTheChainTakesIsRefused)
{
    // "D:\\" and ".mpg" take 7 of the 259 characters.
    const struct {
        size_t length;
        const char* extension;
        NameChoice::Outcome outcome;
    } cases[] = {
        {252, "", NameChoice::kNamed},
        {253, "", NameChoice::kRefused},
        {252, ".mpg", NameChoice::kNamed},
        {253, ".mpg", NameChoice::kRefused},
        {400, ".mpg", NameChoice::kRefused},
    };
    for (const auto& c : cases) {
        const std::string typed = std::string(c.length, 'n') + c.extension;
        const NameChoice::Outcome outcome = c.outcome;
        ScriptedPrompt prompt;
        prompt.answers = {"D:\\" + typed};
        settings::CaptureSettings s;
        const NameChoice choice = recording::AskRecordingFileName(prompt, s);
        EXPECT_EQ(choice.outcome, outcome) << typed.size();
        if (outcome == NameChoice::kRefused) {
            EXPECT_TRUE(choice.name.empty()) << "never cut";
            EXPECT_FALSE(choice.reason.empty());
        } else {
            EXPECT_EQ(choice.name.size(), recording::kMaxRecordingPath);
        }
    }
}

TEST(RecordingFileName, FileParts)
{
    const struct {
        const char* path;
        bool ext;
        const char* folder;
    } cases[] = {
        {"D:\\rec\\a.mpg", true, "D:\\rec\\"},
        {"D:\\rec\\a", false, "D:\\rec\\"},
        {"D:\\r.ec\\a", false, "D:\\r.ec\\"},
        {"a.b", true, ""},
        {"D:a.mpg", true, "D:"},
        {"//server/share/x", false, "//server/share/"},
        {"D:\\rec\\.mpg", true, "D:\\rec\\"},
        {"D:\\rec\\a.", false, "D:\\rec\\"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(recording::HasExtension(c.path), c.ext) << c.path;
        EXPECT_EQ(recording::FolderOf(c.path), c.folder) << c.path;
    }
}

}  // namespace
