// The action table against the README's controls table, and the lookups the controls rely on.
#include "keys.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace qm {
namespace {

std::string readme_controls() {
    std::ifstream in(QM_SOURCE_DIR "/README.md");
    std::stringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    const auto from = text.find("## Controls");
    const auto to = text.find("\n## ", from + 1);
    return from == std::string::npos ? std::string{} : text.substr(from, to - from);
}

TEST(ActionTableTest, TheReadmeListsEveryKeyAndGamepadWayOfTheTable) {
    const std::string controls = readme_controls();
    ASSERT_FALSE(controls.empty()) << "no controls section in the README";
    for (const ActionKeys& row : action_table()) {
        for (const Key& key : row.key_list()) {
            EXPECT_NE(controls.find("`" + std::string(key.name) + "`"), std::string::npos) << row.does << ": " << key.name;
            EXPECT_TRUE(key_does(row.action, key.code)) << row.does;
        }
        EXPECT_NE(controls.find(std::string(row.pad_words)), std::string::npos) << row.does << ": " << row.pad_words;
        EXPECT_EQ(&action_keys(row.action), &row) << row.does;  // rows stand in the enum's order
    }
    EXPECT_FALSE(key_does(Action::UseTool, SDL_SCANCODE_RETURN));
    EXPECT_TRUE(button_does(Action::TimeFlies, SDL_CONTROLLER_BUTTON_X));
    EXPECT_FALSE(button_does(Action::Walk, SDL_CONTROLLER_BUTTON_INVALID));
}

}  // namespace
}  // namespace qm
