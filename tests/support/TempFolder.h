#pragma once

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace veltrano::testing {

// A fresh folder of its own in the system's temp directory, removed with everything in it. Its name is
// random and taken only when it did not exist, so that tests running side by side (the comma-locale run
// of the same test, another build's suite, ctest -j) never share one.
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "veltrano-test-") {
        std::random_device random;
        const auto base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = base / (prefix + std::to_string(random()) + std::to_string(random()));
            if (std::filesystem::create_directory(path_)) return;
        }
        throw std::runtime_error("no fresh folder in " + base.string());
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }
    // The names in the folder: shows a temporary file left behind.
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            out.push_back(entry.path().filename().string());
        return out;
    }

private:
    std::filesystem::path path_;
};

}  // namespace veltrano::testing
