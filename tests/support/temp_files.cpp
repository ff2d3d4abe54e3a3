#include "tests/support/temp_files.h"

#include <filesystem>
#include <fstream>
#include <iterator>

std::string WriteTempFile(const std::string &name, const Bytes &bytes)
{
    const std::string path = (std::filesystem::temp_directory_path() / ("ov_" + name)).string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

Bytes ReadWholeFile(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
