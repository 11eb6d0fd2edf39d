// Where the data files lie, relative to the current directory. Paths are
// written in the program's (Windows) form, which the messages show; they
// are opened through NativePath.
#pragma once

#include <string>

constexpr char kConfigFileName[] = "Ducat Console.cnf";
constexpr char kReferenceBookFileName[] = "Reference_Book.ref";

std::string ArchivePath(const char* coinId); // ".\Coins Stat\<id>.coin"
std::string WeightsPath(const char* coinId); // ".\Coins Stat\<id>.aut"
std::string LogDumpPath(const std::string& name); // ".\<name>.tea"

// The path for the C runtime: unchanged on Windows, backslashes turned
// into '/' elsewhere.
std::string NativePath(const std::string& path);
