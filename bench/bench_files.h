#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pagelark::bench {

// The files the benchmarks read, written once per run into a temporary
// folder that goes with the run.

// The full-size file of the tests (663 chunks), written by our own writer.
const std::string& fullSizeVswapPath();

// The shipped wolfpics.txt with one more sprite range line before the
// weapons line: a name padded to 32 characters, sprite number 54 in
// characters 33-37, then a megabyte of text. Being the last range line with
// the lowest number, it describes every sprite from 54 up to the weapons.
const std::string& longLineDescriptionsPath();

// A fresh name in the same temporary folder.
std::string scratchPath(const std::string& name);

std::vector<std::uint8_t> readWholeFile(const std::string& path);
// Writes the bytes with one write call, replacing any file of that name.
void writeWholeFile(const std::string& path, const std::uint8_t* bytes, std::size_t count);

}  // namespace pagelark::bench
