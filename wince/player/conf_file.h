// The player's small text files (keys.conf, settings.conf): one NAME = VALUE
// a line, # comments. A line that cannot be read is reported by its number and
// skipped; the rest is used.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace wince::player {

struct ConfLine {
    int number = 0;
    std::string name;  // trimmed, as written
    std::string value;
};

struct ConfProblem {
    int line = 0;  // 0: the file as a whole
    std::string why;
};

struct ConfText {
    std::vector<ConfLine> lines;
    std::vector<ConfProblem> problems;
};

// A line with bytes that are not printable UTF-8 text is reported without
// being echoed; so is a line without "=".
ConfText ReadConfText(std::string_view text);

// As ReadConfText on a file. A missing file gives nothing and no warning; a
// folder, a file too large to be one of these or one holding NUL bytes gives
// a warning and no lines.
ConfText ReadConfFile(const std::filesystem::path &file);

// The problems as lines for a terminal ("line N: why"), in the file's order,
// few enough to read.
std::vector<std::string> Warnings(std::vector<ConfProblem> problems);

// Names in these files compare without regard to case (ASCII).
std::string Lower(std::string_view text);

}  // namespace wince::player
