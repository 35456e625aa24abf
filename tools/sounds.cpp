// `make sounds`: every sound of the game (each take or layer), the 27 colour tunes and the music's
// phrases as WAV files, made by the game's own synthesis, so they can be heard and looked at (the
// Makefile draws their spectrograms with sox).
//
//     quillmarsh_sounds DIR
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "flowers.hpp"
#include "synth.hpp"

namespace {

void put(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k) out.put(static_cast<char>((value >> (8 * k)) & 0xFF));
}

bool write_wav(const std::filesystem::path& path, const qm::Samples& samples) {
    std::ofstream out(path, std::ios::binary);
    const auto data = static_cast<std::uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    put(out, 36 + data, 4);
    out.write("WAVEfmt ", 8);
    put(out, 16, 4);
    put(out, 1, 2);  // PCM
    put(out, 1, 2);  // mono
    put(out, qm::SAMPLE_RATE, 4);
    put(out, qm::SAMPLE_RATE * 2, 4);
    put(out, 2, 2);
    put(out, 16, 2);
    out.write("data", 4);
    put(out, data, 4);
    for (const std::int16_t s : samples) put(out, static_cast<std::uint16_t>(s), 2);
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillmarsh_sounds DIR\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    bool ok = true;
    for (const qm::SoundSpec& spec : qm::sound_table()) {
        for (std::size_t t = 0; t < spec.takes; ++t) {
            const std::string name = spec.name + (spec.takes > 1 ? "-" + std::to_string(t + 1) : std::string());
            ok = write_wav(dir / (name + ".wav"), qm::synthesize(spec.id, t)) && ok;
        }
    }
    constexpr const char* PARTS[] = {"morning", "afternoon", "dusk"};
    for (std::size_t p = 0; p < qm::MUSIC_PARTS; ++p) {
        for (std::size_t k = 0; k < qm::PHRASES_PER_PART; ++k) {
            const std::string name = std::string("music-") + PARTS[p] + "-" + std::to_string(k + 1);
            ok = write_wav(dir / (name + ".wav"), qm::synthesize_phrase(qm::MusicPart(p), k)) && ok;
        }
    }
    for (std::size_t g = 0; g < qm::GENOTYPES; ++g) {
        ok = write_wav(dir / ("tune-" + qm::genome_label(qm::genes_of_genotype(g)) + ".wav"), qm::synthesize_tune(g)) && ok;
    }
    return ok ? 0 : 1;
}
