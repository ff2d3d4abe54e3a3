// Files the tests write and read whole.
#ifndef TESTS_SUPPORT_TEMP_FILES_H
#define TESTS_SUPPORT_TEMP_FILES_H

#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// In the system's temp folder; the caller removes it.
std::string WriteTempFile(const std::string &name, const Bytes &bytes);
Bytes ReadWholeFile(const std::string &path);

#endif
