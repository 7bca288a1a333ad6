#pragma once
// Reading files from outside: the number files users exchange, base.div,
// a tester's number file. Only regular files are read: a directory, a FIFO
// or a device in the file's place is refused at once, without blocking on
// it. A file larger than this machine's memory is refused before any
// allocation, since no number it holds could be worked on anyway.
#include <string>

namespace storage {

enum class FileReadStatus { Read, CannotOpen, NotRegularFile, TooLarge, NoMemory };

// The whole content; files that report no size (those of /proc) are read to
// their end all the same.
[[nodiscard]] FileReadStatus readWholeFile(const std::string& path, std::string& content);

// Only the bytes '0'..'9', in file order, read block by block so that memory
// holds the digits and one block, never the whole file.
[[nodiscard]] FileReadStatus readDigitsOfFile(const std::string& path, std::string& digits);

// Why a read failed, for messages: "it is not a regular file", ...
const char* describe(FileReadStatus status);

}  // namespace storage
