// The data-file reader over arbitrary bytes. What it reads must survive being
// written and read again unchanged (fields, whole lines, a design file); and
// every catalogued calculator must open over the bytes as its data file
// without an escaping exception and without showing nan or inf.
#include "calculators/catalogue.h"
#include "shell/data_dir.h"
#include "shell/design_file.h"
#include "shell/window_cycle.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

using namespace ferrovane;

namespace {

// Says nothing and answers No.
class SilentDialogs : public Dialogs {
public:
    Answer show(const Message& m) override {
        return m.buttons == MessageButtons::Ok ? Answer::Ok : Answer::No;
    }
};

// One folder for the whole run, in memory when the system has one.
const DataDir& folder() {
    static const DataDir dir = [] {
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        static const auto path = base / ("ferrovane-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        });
        return DataDir(path);
    }();
    return dir;
}

void put(const std::string& name, std::string_view bytes) {
    std::ofstream(folder().path() / name, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void require(bool ok) {
    if (!ok) {
        std::abort();
    }
}

bool showsNonFinite(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    for (const char* word : {"nan", "inf"}) {
        for (std::size_t i = text.find(word); i != std::string::npos; i = text.find(word, i + 1)) {
            const bool before = i > 0 && std::isalpha(static_cast<unsigned char>(text[i - 1]));
            const bool after =
                i + 3 < text.size() && std::isalpha(static_cast<unsigned char>(text[i + 3]));
            if (!before && !after) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const DataDir& dir = folder();
    put("in.dat", bytes);

    const auto fields = dir.readFields("in.dat");
    require(fields.has_value());
    require(dir.writeLines("fields.dat", *fields).ok);
    require(dir.readFields("fields.dat") == fields);

    const auto lines = dir.readLines("in.dat");
    require(lines.has_value());
    require(dir.writeLines("lines.dat", *lines).ok);
    require(dir.readLines("lines.dat") == lines);

    const DesignFile design{"in.dat", true, {"A", "B", "C", "D"}};
    const DesignFile copy{"design.dat", true, design.fields};
    const auto values = design.read(dir);
    require(values.has_value() && copy.write(dir, *values).ok);
    // A field the file lacked is written empty and reads back empty.
    const auto again = copy.read(dir);
    require(again.has_value() && again->size() == design.fields.size());
    for (const auto& [name, value] : *again) {
        const auto it = values->find(name);
        require(value == (it == values->end() ? std::string() : it->second));
    }

    // Every calculator opens over the bytes as its data file.
    SilentDialogs dialogs;
    CalcEnv env{dialogs, dir};
    for (const CatalogueEntry& entry : catalogue()) {
        if (!entry.calculator || entry.calculator().dataFile.empty()) {
            continue;
        }
        const Calculator& calc = entry.calculator();
        put(calc.dataFile, bytes);
        try {
            const Form form = Form_Load(calc, env);
            for (const auto& [name, control] : form.controls()) {
                require(!showsNonFinite(control.text) || showsNonFinite(std::string(bytes)));
            }
            for (const auto& name : form.lists()) {
                for (const auto& line : form.list(name)) {
                    require(!showsNonFinite(line));
                }
            }
        } catch (...) {
            std::abort();
        }
        std::filesystem::remove(dir.resolve(calc.dataFile));
    }
    return 0;
}
