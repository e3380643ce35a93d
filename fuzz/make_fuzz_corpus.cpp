// Writes the seed inputs of the data-file fuzz targets into a corpus folder:
//   fuzz_data_file/        every example file, and the design files the
//                          design tests write and read
//   fuzz_calculator_load/  for each calculator with a data file, its byte
//                          followed by its example file, and by the file
//                          its Close writes over that example
// Usage: make_fuzz_corpus CORPUS_DIR (fuzz/corpus of the source tree).
#include "fuzz_support.h"
#include "shell/example_files.h"
#include "shell/window_cycle.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

using namespace ferrovane;
namespace fs = std::filesystem;

namespace {

class SilentDialogs : public Dialogs {
public:
    Answer show(const Message&) override { return Answer::No; }
};

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void save(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// The design files as the design-window and beta-plot tests have them.
void writeTestDesigns(const fs::path& to) {
    save(to / "test-CapDivDesign.DAT",
         "False\r\n 455.0e+3  \r\n 5.000e+3  \r\n 174.9e-6  \r\n0.000\r\n 1.060e-9  \r\n"
         " 1.944e-9  \r\n 600.0     \r\n 10.00     \r\n");
    save(to / "test-PiNetDesign.DAT",
         "False\r\n 14.25e+6  \r\n 4.000e+3  \r\n 41.88e-12 \r\n 3.240e-6  \r\n0.00\r\n"
         " 299.0e-12 \r\n 52.00     \r\n 15.00     \r\n");
    char text[200];
    std::snprintf(text, sizeof text,
                  "%.17g\r\n1\r\n%.17g\r\n5\r\n10\r\n%.17g\r\n%.17g\r\n%.17g\r\n", 25.0, 100.0,
                  5100.0, 50746.2686567164, 6.34328358208955);
    save(to / "test-CVBOutPut.dat", text);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " CORPUS_DIR\n";
        return 2;
    }
    const fs::path corpus = argv[1];
    const fs::path files = corpus / "fuzz_data_file";
    const fs::path load = corpus / "fuzz_calculator_load";
    fs::create_directories(files);
    fs::create_directories(load);

    const DataDir& examples = fuzz::folder();
    if (const WriteResult written = RestoreExamples(examples); !written) {
        std::cerr << written.error << "\n";
        return 1;
    }
    for (const ExampleFile& example : exampleFiles()) {
        save(files / example.name, bytesOf(examples.resolve(example.name)));
    }
    writeTestDesigns(files);

    SilentDialogs dialogs;
    CalcEnv env{dialogs, examples};
    const auto& entries = fuzz::entriesWithFiles();
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const Calculator& calc = entries[k]->calculator();
        const std::string pick(1, static_cast<char>(k));
        const fs::path file = examples.resolve(calc.dataFile);
        save(load / (entries[k]->id + "-example"), pick + bytesOf(file));
        Form form = Form_Load(calc, env);
        CmdClose_Click(calc, form, env);
        save(load / (entries[k]->id + "-saved"), pick + bytesOf(file));
    }
    std::cout << "wrote " << corpus.string() << "\n";
    return 0;
}
