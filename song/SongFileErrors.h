#pragma once
// The two file errors a song save can raise; their texts are what the user sees.

#include <stdexcept>
#include <string>

// The file could not be created: "Cannot create file "<path>". <reason>".
class EFCreateError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Writing failed part-way: "Stream write error".
class EWriteError : public std::runtime_error {
public:
  EWriteError() : std::runtime_error("Stream write error") {}
};
