// What the data-file fuzz targets share: one data folder for the whole run,
// writing the input into it, stopping on a broken rule, and the calculators
// that the first byte of an input picks from.
#pragma once

#include "calculators/catalogue.h"
#include "shell/data_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace ferrovane::fuzz {

// One folder for the whole run, in memory when the system has one, removed
// when the run ends.
inline const DataDir& folder() {
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

// The bytes as the file of that name in the folder.
inline void put(const std::string& name, std::string_view bytes) {
    std::ofstream(folder().path() / name, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline void require(bool ok) {
    if (!ok) {
        std::abort();
    }
}

// The catalogued calculators that have a data file, in the catalogue's order.
inline const std::vector<const CatalogueEntry*>& entriesWithFiles() {
    static const std::vector<const CatalogueEntry*> all = [] {
        std::vector<const CatalogueEntry*> found;
        for (const CatalogueEntry& entry : catalogue()) {
            if (entry.calculator && !entry.calculator().dataFile.empty()) {
                found.push_back(&entry);
            }
        }
        return found;
    }();
    return all;
}

} // namespace ferrovane::fuzz
