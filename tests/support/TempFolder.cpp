#include "support/TempFolder.h"

#include <unistd.h>

#include <atomic>

CTempFolder::CTempFolder(const std::string& name) {
    static std::atomic<int> counter{0};
    path_ =
        std::filesystem::temp_directory_path() /
        ("kubrell-" + name + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

CTempFolder::~CTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}
