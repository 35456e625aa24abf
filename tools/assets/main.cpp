// quillmarsh_assetgen: paints every sprite sheet into the directory given on the command line.
// Each --icon SIZE FILE also writes the application icon at that size; without a directory it
// paints only the icons.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "icon.hpp"
#include "paint.hpp"
#include "sheets.hpp"

namespace {

bool save(const qm::Picture& picture, const std::string& path) {
    const std::string err = qm::save_png(picture, path);
    if (!err.empty()) std::fprintf(stderr, "quillmarsh_assetgen: cannot write %s: %s\n", path.c_str(), err.c_str());
    return err.empty();
}

}  // namespace

int main(int argc, char** argv) {
    std::string out_dir;
    std::vector<std::pair<int, std::string>> icons;
    for (int k = 1; k < argc; ++k) {
        const std::string_view arg = argv[k];
        if (arg == "--icon" && k + 2 < argc && std::atoi(argv[k + 1]) > 0) {
            icons.emplace_back(std::atoi(argv[k + 1]), argv[k + 2]);
            k += 2;
        } else if (k == 1 && !arg.starts_with("--")) {
            out_dir = arg;
        } else {
            std::fprintf(stderr, "quillmarsh_assetgen: unknown argument %s\n", argv[k]);
            return 2;
        }
    }
    if (out_dir.empty() && icons.empty()) {
        std::fprintf(stderr, "usage: quillmarsh_assetgen [OUTPUT_DIR] [--icon SIZE FILE]...\n");
        return 2;
    }
    if (!out_dir.empty()) {
        for (const qm::SheetInfo& sheet : qm::all_sheets()) {
            const qm::Picture picture = sheet.paint();
            if (picture.width() != sheet.width() || picture.height() != sheet.height()) {
                std::fprintf(stderr, "quillmarsh_assetgen: %s came out %d x %d\n", std::string(sheet.name).c_str(),
                             picture.width(), picture.height());
                return 1;
            }
            if (!save(picture, out_dir + "/" + std::string(sheet.name) + ".png")) return 1;
        }
    }
    for (const auto& [size, file] : icons) {
        if (!save(qm::paint_icon(size), file)) return 1;
    }
    return 0;
}
