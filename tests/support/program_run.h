// Whole runs of the real pellax-rim binary, headless, in a folder of the
// test's own, and what each run left behind: exit code, stderr, trace and the
// last state dump.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace programrun {

namespace fs = std::filesystem;
using Json = nlohmann::json;

inline std::string ReadBytes(const fs::path &file) {
    std::ostringstream bytes;
    bytes << std::ifstream(file, std::ios::binary).rdbuf();
    return bytes.str();
}

inline void WriteBytes(const fs::path &file, const std::string &bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string Quoted(const fs::path &path) {
    std::string quoted = "'";
    for (char c : path.string()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct RunResult {
    int exitCode = -1;
    std::string err;
    std::vector<Json> trace;
    Json state;  // state.json, null when the run wrote none

    std::vector<Json> Events(const std::string &event) const {
        std::vector<Json> found;
        for (const Json &line : trace)
            if (line["event"] == event) found.push_back(line);
        return found;
    }
    // Each message box as "caption|text", in order.
    std::vector<std::string> MessageBoxes() const {
        std::vector<std::string> shown;
        for (const Json &box : Events("msgbox"))
            shown.push_back(box["caption"].get<std::string>() + "|" +
                            box["text"].get<std::string>());
        return shown;
    }
    bool Played() const { return state.is_object() && state["playing"] == 1; }
};

// Runs the binary with the arguments given, from the folder dir.
inline int RunProgram(const fs::path &dir, const std::string &arguments, std::string *out = nullptr,
                      std::string *err = nullptr) {
    const std::string command = "cd " + Quoted(dir) + " && " + Quoted(PELLAX_BINARY) + " " +
                                arguments + " >stdout.txt 2>stderr.txt";
    const int status = std::system(command.c_str());
    if (out) *out = ReadBytes(dir / "stdout.txt");
    if (err) *err = ReadBytes(dir / "stderr.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs a script on dir/root (made first when missing), with a trace.
inline RunResult RunScript(const fs::path &dir, const std::string &script) {
    WriteBytes(dir / "script.txt", script);
    fs::remove(dir / "state.json");
    RunResult result;
    result.exitCode =
        RunProgram(dir, "--headless --root root --script script.txt --trace trace.jsonl", nullptr,
                   &result.err);
    std::istringstream lines(ReadBytes(dir / "trace.jsonl"));
    for (std::string line; std::getline(lines, line);)
        if (!line.empty()) result.trace.push_back(Json::parse(line));
    const std::string state = ReadBytes(dir / "state.json");
    if (!state.empty()) result.state = Json::parse(state);
    return result;
}

}  // namespace programrun
