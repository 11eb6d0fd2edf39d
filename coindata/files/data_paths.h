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

// A file name made from device text (code page 1251) as the file system
// takes it: unchanged on Windows, whose ANSI calls read code page 1251;
// UTF-8 elsewhere. Messages keep showing the code page 1251 name.
std::string FileSystemName(const std::string& cp1251Name);

// The path for the C runtime: unchanged on Windows, backslashes turned
// into '/' elsewhere.
std::string NativePath(const std::string& path);
