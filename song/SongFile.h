#pragma once

#include <filesystem>
#include <string_view>

// What WriteFileReplacing does when the file's folder does not exist.
enum class TMissingFolder { Fail, Create };

// Writes `content` as the whole file `fileName`, all or nothing: the bytes go to
// a temporary file beside it, which replaces the target only once complete. On
// failure the temporary file is gone and an existing target keeps its content.
// A new file gets the permissions the umask gives, a replaced one keeps its own.
// Raises EFCreateError when the file cannot be created (a read-only target
// counts) and EWriteError when writing fails part-way.
void WriteFileReplacing(const std::filesystem::path &fileName, std::string_view content,
                        TMissingFolder missingFolder = TMissingFolder::Fail);
