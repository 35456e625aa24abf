// quillmarsh_assetgen: paints every sprite sheet into the directory given on the command line.
// Each --icon SIZE FILE also writes the application icon at that size, and --icon-source SIZE FILE
// writes it as a C++ source of raw RGBA pixels, which the game builds in for its window; without a
// directory it paints only the icons.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "icon.hpp"
#include "paint.hpp"
#include "sheets.hpp"

namespace {

bool save(const qm::art::Picture& picture, const std::string& path) {
    const std::string err = qm::art::save_png(picture, path);
    if (!err.empty()) std::fprintf(stderr, "quillmarsh_assetgen: cannot write %s: %s\n", path.c_str(), err.c_str());
    return err.empty();
}

// The icon's pixels as the definitions window_icon.hpp declares; the game reads no file for them.
bool save_source(const qm::art::Picture& picture, const std::string& path) {
    std::ofstream out(path, std::ios::trunc);
    out << "// Drawn by quillmarsh_assetgen: the window's icon, " << picture.width() << " pixels square, RGBA.\n"
        << "#include \"window_icon.hpp\"\n\nnamespace qm {\n\nconst int WINDOW_ICON_SIZE = " << picture.width()
        << ";\nconst unsigned char WINDOW_ICON_RGBA[] = {";
    std::size_t k = 0;
    for (const qm::art::Rgba& c : picture.pixels()) {
        out << (k++ % 4 == 0 ? "\n   " : "") << ' ' << int{c.r} << ',' << int{c.g} << ',' << int{c.b} << ',' << int{c.a} << ',';
    }
    out << "\n};\n\n}  // namespace qm\n";
    if (!out.flush()) std::fprintf(stderr, "quillmarsh_assetgen: cannot write %s\n", path.c_str());
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    std::string out_dir;
    std::vector<std::pair<int, std::string>> icons;
    std::vector<std::pair<int, std::string>> sources;
    for (int k = 1; k < argc; ++k) {
        const std::string_view arg = argv[k];
        if (arg == "--icon" && k + 2 < argc && std::atoi(argv[k + 1]) > 0) {
            icons.emplace_back(std::atoi(argv[k + 1]), argv[k + 2]);
            k += 2;
        } else if (arg == "--icon-source" && k + 2 < argc && std::atoi(argv[k + 1]) > 0) {
            sources.emplace_back(std::atoi(argv[k + 1]), argv[k + 2]);
            k += 2;
        } else if (k == 1 && !arg.starts_with("--")) {
            out_dir = arg;
        } else {
            std::fprintf(stderr, "quillmarsh_assetgen: unknown argument %s\n", argv[k]);
            return 2;
        }
    }
    if (out_dir.empty() && icons.empty() && sources.empty()) {
        std::fprintf(stderr, "usage: quillmarsh_assetgen [OUTPUT_DIR] [--icon SIZE FILE]... [--icon-source SIZE FILE]...\n");
        return 2;
    }
    if (!out_dir.empty()) {
        for (const qm::art::SheetInfo& sheet : qm::art::all_sheets()) {
            const qm::art::Picture picture = sheet.paint();
            if (picture.width() != sheet.width() || picture.height() != sheet.height()) {
                std::fprintf(stderr, "quillmarsh_assetgen: %s came out %d x %d\n", std::string(sheet.name).c_str(),
                             picture.width(), picture.height());
                return 1;
            }
            if (!save(picture, out_dir + "/" + std::string(sheet.name) + ".png")) return 1;
        }
    }
    for (const auto& [size, file] : icons) {
        if (!save(qm::art::paint_icon(size), file)) return 1;
    }
    for (const auto& [size, file] : sources) {
        if (!save_source(qm::art::paint_icon(size), file)) return 1;
    }
    return 0;
}
