#pragma once
// What the fuzz targets share: somewhere for the messages nobody reads, and a private folder
// for the files a target writes its input to.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <ostream>

namespace varst::fuzz {

// A stream that keeps nothing: the targets' ConsolePrompter writes its messages there and
// still counts the critical ones.
std::ostream& Discarded();

// The folder of this process's files, made on first use under $TMPDIR (or /tmp) and removed
// with everything in it when the process ends normally.
const std::string& PrivateFolder();

// Writes bytes to a file of the private folder and returns its path.
std::string WriteFile(std::string_view name, const std::uint8_t* data, std::size_t size);
std::string WriteFile(std::string_view name, std::string_view bytes);

// Stops the process with a message when a property of the code does not hold, so that the
// fuzzer saves the input as a crash.
void Require(bool holds, const char* what);

}  // namespace varst::fuzz
