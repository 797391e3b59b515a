// Host files for the fuzz targets that go through the program's loaders: one temporary folder per
// process, holding the data folder ("data/") and the save folder ("save/") the loaders are
// pointed at, removed when the process ends. Inputs are written there as files before each run.
#pragma once
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/archiveIndex.h"
#include "files/saveFile.h"
#include "fuzzInput.h"

class FuzzFolder {
public:
    // The process's folder, made on first use.
    static FuzzFolder& get() {
        static FuzzFolder* folder = new FuzzFolder;
        return *folder;
    }

    // The data and save folders, each with its trailing separator.
    const std::string& data() const { return m_data; }
    const std::string& save() const { return m_save; }

    // Empties a folder and makes it again.
    static void clear(const std::string& folder) {
        std::error_code error;
        std::filesystem::remove_all(folder, error);
        std::filesystem::create_directories(folder, error);
    }
    static void write(const std::string& path, const void* bytes, size_t size) {
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
        FUZZ_CHECK(out.good());
    }

private:
    FuzzFolder() {
        // Memory-backed when the host has such a folder: the targets write files at every run.
        std::error_code error;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, error)) base = std::filesystem::temp_directory_path(error);
        if (error) base = "/tmp";
        m_root = (base / ("morvane-fuzz-" + std::to_string(getpid()))).string() + "/";
        m_data = m_root + "data/";
        m_save = m_root + "save/";
        clear(m_data);
        clear(m_save);
        FUZZ_CHECK(setDataFolder(m_data.c_str()));
        FUZZ_CHECK(setSaveFolder(m_save.c_str()));
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(get().m_root, ignored);
        });
    }

    std::string m_root, m_data, m_save;
};
