// quillmarsh_assetgen: paints every sprite sheet into the directory given on the command line.
#include <cstdio>
#include <string>

#include "paint.hpp"
#include "sheets.hpp"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillmarsh_assetgen OUTPUT_DIR\n");
        return 2;
    }
    const std::string out_dir = argv[1];
    for (const qm::SheetInfo& sheet : qm::all_sheets()) {
        const qm::Picture picture = sheet.paint();
        if (picture.width() != sheet.width() || picture.height() != sheet.height()) {
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
    return 0;
}
