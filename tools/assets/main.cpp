// quillmarsh_assetgen: paints every sprite sheet into the directory given on the command line.
// With --preview FILE it also writes a scene of the sheets put together, for looking at.
#include <cstdio>
#include <string>
#include <string_view>

#include "paint.hpp"
#include "sheets.hpp"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: quillmarsh_assetgen OUTPUT_DIR [--preview FILE]\n");
        return 2;
    }
    const std::string out_dir = argv[1];
    std::string preview;
    for (int k = 2; k < argc; ++k) {
        if (std::string_view(argv[k]) == "--preview" && k + 1 < argc) preview = argv[++k];
        else {
            std::fprintf(stderr, "quillmarsh_assetgen: unknown argument %s\n", argv[k]);
            return 2;
        }
    }
    for (const qm::SheetInfo& sheet : qm::all_sheets()) {
        const qm::Picture picture = sheet.paint();
        if (picture.width() != sheet.cell_w * sheet.columns || picture.height() != sheet.cell_h * sheet.rows) {
            std::fprintf(stderr, "quillmarsh_assetgen: %s came out %d x %d\n", std::string(sheet.name).c_str(),
                         picture.width(), picture.height());
            return 1;
        }
        const std::string path = out_dir + "/" + std::string(sheet.name) + ".png";
        if (const std::string err = qm::save_png(picture, path); !err.empty()) {
            std::fprintf(stderr, "quillmarsh_assetgen: cannot write %s: %s\n", path.c_str(), err.c_str());
            return 1;
        }
    }
    if (!preview.empty()) {
        if (const std::string err = qm::save_png(qm::paint_preview(), preview); !err.empty()) {
            std::fprintf(stderr, "quillmarsh_assetgen: cannot write %s: %s\n", preview.c_str(), err.c_str());
            return 1;
        }
    }
    return 0;
}
