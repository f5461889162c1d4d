#pragma once
// A scratch folder for tests that write files.

#include <filesystem>
#include <string>

// A fresh, empty folder under the system's temporary folder, removed with
// everything in it when the object goes.
class CTempFolder {
public:
    explicit CTempFolder(const std::string& name);
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The path of a file in the folder, as a string.
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};
