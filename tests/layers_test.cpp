// The code's layers point one way: each folder of src/ includes only its own headers and those of
// the folders below it, and the three lowest build without SDL. The build enforces the first through
// each library's include path; this checks every header and source file by name, so a file that
// would compile by accident (a header found through a transitive path) is caught too.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// From the bottom up; app (the entry point) stands above them all.
const std::vector<std::string> LAYERS{"core", "rules", "night", "audio", "input", "draw", "game", "app"};
constexpr std::size_t LAST_WITHOUT_SDL = 2;  // core, rules, night

struct SourceFile {
    std::string layer;
    std::string name;
    std::string text;
};

// Ways up that are known and being taken apart, as "file -> header": each must still exist (so the
// list only shrinks) and nothing else may point up.
const std::vector<std::string> STILL_UP{
    "bees.cpp -> sheets.hpp", "bees.cpp -> ui.hpp", "buildings.cpp -> sheets.hpp", "buildings.hpp -> ui.hpp",
    "lily.cpp -> sheets.hpp", "lily.hpp -> ui.hpp",
    "tools.cpp -> sheets.hpp", "tools.hpp -> ui.hpp",
};

std::vector<SourceFile> read_tree(const fs::path& src) {
    std::vector<SourceFile> files;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        if (!entry.is_regular_file()) continue;
        const fs::path& path = entry.path();
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        const std::string folder = path.parent_path() == src ? "" : path.parent_path().filename().string();
        files.push_back({folder, path.filename().string(), text.str()});
    }
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return files;
}

std::ptrdiff_t rank(const std::string& layer) {
    const auto at = std::find(LAYERS.begin(), LAYERS.end(), layer);
    return at == LAYERS.end() ? -1 : at - LAYERS.begin();
}

// Every include that breaks the layering, as "file -> header" (or a line saying what is wrong).
std::vector<std::string> ways_up(const std::vector<SourceFile>& files) {
    std::map<std::string, std::string> layer_of;
    std::vector<std::string> found;
    for (const auto& f : files) {
        if (rank(f.layer) < 0) found.push_back(f.name + " lies outside the layers");
        if (!layer_of.emplace(f.name, f.layer).second) found.push_back(f.name + " is in two layers");
    }
    const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    for (const auto& f : files) {
        std::istringstream lines(f.text);
        for (std::string line; std::getline(lines, line);) {
            std::smatch m;
            if (!std::regex_search(line, m, include)) continue;
            const std::string header = m[2];
            if (m[1] == "<") {
                if (header.starts_with("SDL") && rank(f.layer) >= 0 &&
                    static_cast<std::size_t>(rank(f.layer)) <= LAST_WITHOUT_SDL) {
                    found.push_back(f.name + " -> <" + header + ">");
                }
            } else if (const auto at = layer_of.find(header); at == layer_of.end()) {
                found.push_back(f.name + " -> " + header + " (no such file in src)");
            } else if (rank(at->second) > rank(f.layer)) {
                found.push_back(f.name + " -> " + header);
            }
        }
    }
    return found;
}

std::vector<SourceFile> the_tree() { return read_tree(fs::path(QM_SOURCE_DIR) / "src"); }

TEST(Layers, EveryIncludePointsDownOrAcross) {
    const auto files = the_tree();
    ASSERT_GT(files.size(), 50u);
    auto found = ways_up(files);
    for (const auto& known : STILL_UP) {
        const auto at = std::find(found.begin(), found.end(), known);
        EXPECT_NE(at, found.end()) << "gone at last, so off the list: " << known;
        if (at != found.end()) found.erase(at);
    }
    EXPECT_EQ(found, std::vector<std::string>{});
}

// A planted include is caught wherever it points the wrong way: a header of a higher layer, SDL in
// a layer below the sound, a header that is not in the tree, a file outside the folders.
TEST(Layers, APlantedWayUpIsCaught) {
    struct Plant {
        std::string into;  // a file of the tree, or a new one as "folder/name"
        std::string line;
        std::string caught;
    };
    const std::vector<Plant> plants{
        {"random.hpp", "#include \"world.hpp\"", "random.hpp -> world.hpp"},
        {"world.hpp", "#include \"forecast.hpp\"", "world.hpp -> forecast.hpp"},
        {"forecast.cpp", "#include \"graphics.hpp\"", "forecast.cpp -> graphics.hpp"},
        {"graphics.hpp", "  #  include \"game.hpp\"", "graphics.hpp -> game.hpp"},
        {"flowers.cpp", "#include <SDL.h>", "flowers.cpp -> <SDL.h>"},
        {"breeding.hpp", "#include <SDL_stdinc.h>", "breeding.hpp -> <SDL_stdinc.h>"},
        {"hex_geometry.cpp", "#include \"nowhere.hpp\"", "hex_geometry.cpp -> nowhere.hpp (no such file in src)"},
        {"/stray.cpp", "", "stray.cpp lies outside the layers"},
    };
    const auto clean = ways_up(the_tree());
    for (const auto& plant : plants) {
        auto files = the_tree();
        if (plant.into.starts_with("/")) {
            files.push_back({"", plant.into.substr(1), plant.line});
        } else {
            const auto at = std::find_if(files.begin(), files.end(), [&](const auto& f) { return f.name == plant.into; });
            ASSERT_NE(at, files.end()) << plant.into;
            at->text += "\n" + plant.line + "\n";
        }
        auto found = ways_up(files);
        EXPECT_EQ(found.size(), clean.size() + 1) << plant.line << " in " << plant.into;
        EXPECT_NE(std::find(found.begin(), found.end(), plant.caught), found.end()) << plant.caught;
    }
}

}  // namespace
