// Runs the headless runner (build/tinselrun-sim) as a child process, for scenario tests.
//
//   SimRun run = RunSim({"--ticks", "300", "--scene", "GAMETIME"}, "1-60 RIGHT\n200 SPACE\n");
//   ASSERT_EQ(run.status, 0) << run.err;
//   ASSERT_EQ(run.trace.size(), 301u);              // tick 0 and ticks 1 to 300
//   EXPECT_EQ(run.trace[1]["served"], "GameTime");
//   const nlohmann::json* santa = FindTask(run.trace[172], "Santa");
//
// The script, when given, goes through a temporary file and --input. Unless args name a
// --trace of their own, the trace goes to a temporary file too; either way it comes back parsed,
// one JSON object per line (a "--trace -" is read from standard output). The child runs in the
// current directory (the build folder under ctest), so it finds the generated assets there.
// For snapshots or WAVs, make a SimDir and pass its Path("name.png") in args.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

// A fresh temporary folder, removed with everything in it when this goes.
class SimDir {
public:
    SimDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tinselrun-sim-XXXXXX");
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~SimDir() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    std::string Path(const std::string& name) const { return path_ + "/" + name; }

    SimDir(const SimDir&) = delete;
    SimDir& operator=(const SimDir&) = delete;

private:
    std::string path_;
};

struct SimRun {
    int status = -1;                    // exit status; 128 + signal when it crashed
    std::string out;                    // standard output
    std::string err;                    // standard error
    std::string traceText;              // the trace as written
    std::vector<nlohmann::json> trace;  // one object per line; trace[t] is tick t
    int badTraceLine = 0;               // first line (1-based) that was not JSON, or 0
};

inline std::string SimReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::string SimBinary() {
    return std::string(TINSELRUN_BUILD_DIR) + "/tinselrun-sim";
}

inline SimRun RunSim(std::vector<std::string> args,
                     const std::optional<std::string>& script = std::nullopt) {
    SimDir dir;
    SimRun run;
    if (script) {
        std::ofstream(dir.Path("input.txt"), std::ios::binary) << *script;
        args.insert(args.begin(), {"--input", dir.Path("input.txt")});
    }
    std::string tracePath = dir.Path("trace.jsonl");
    bool ownTrace = true;
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "--trace") {
            tracePath = args[i + 1];
            ownTrace = false;
        }
    }
    if (ownTrace) args.insert(args.begin(), {"--trace", tracePath});

    std::vector<std::string> argv = {SimBinary()};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (std::string& a : argv) cargv.push_back(a.data());
    cargv.push_back(nullptr);

    const std::string outPath = dir.Path("stdout"), errPath = dir.Path("stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, cargv[0], &actions, nullptr, cargv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        run.err = "cannot start " + argv[0];
        return run;
    }
    int wstatus = 0;
    while (waitpid(pid, &wstatus, 0) < 0) {
    }
    run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
    run.out = SimReadFile(outPath);
    run.err = SimReadFile(errPath);
    run.traceText = tracePath == "-" ? run.out : SimReadFile(tracePath);

    std::istringstream lines(run.traceText);
    std::string line;
    for (int n = 1; std::getline(lines, line); ++n) {
        nlohmann::json parsed = nlohmann::json::parse(line, nullptr, false);
        if (parsed.is_discarded() && run.badTraceLine == 0) run.badTraceLine = n;
        run.trace.push_back(std::move(parsed));
    }
    return run;
}

// The first task of that class in one trace line, or nullptr.
inline const nlohmann::json* FindTask(const nlohmann::json& line, const std::string& className) {
    for (const nlohmann::json& task : line.at("tasks")) {
        if (task.at("class") == className) return &task;
    }
    return nullptr;
}
