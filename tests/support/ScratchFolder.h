#pragma once
// A fresh folder of the test's own under the system's temporary folder
// ($TMPDIR or /tmp), removed with everything in it at the end of the scope.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace testsupport {

class ScratchFolder {
public:
    explicit ScratchFolder(std::string_view tag = "test")
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / ("tallow-" + std::string(tag) + "-XXXXXX")).string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

    // Writes `bytes` to `relative`, creating the folders on the way.
    std::filesystem::path Write(const std::filesystem::path& relative, std::string_view bytes) const
    {
        const std::filesystem::path file = m_path / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write " + file.string());
        return file;
    }

private:
    std::filesystem::path m_path;
};

} // namespace testsupport
