// The data files' operator messages: owner-less boxes, exclamation for the
// readers and stop for the writers.
#pragma once

#include <string>

// Texts more than one file uses.
constexpr char kWriteErrorText[] = " Ошибка записи файла <%s>";
constexpr char kWriteCaption[] = "Запись в файл";
constexpr char kReadDataCaption[] = "Чтение данных";

void ShowReaderMessage(const std::string& text, const char* caption);
void ShowWriterMessage(const std::string& text, const char* caption);

// A message text with its "%s" replaced by a path (which may itself hold
// any character, '%' included).
std::string WithPath(const char* pattern, const std::string& path);
