#pragma once

// Runs the quisk-run program in a fresh folder as a script would.
#include "app/job_file.h"
#include "support/temp_folder.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace quisk::testing {

// What a run printed and returned.
struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// A folder with a two-line source, a format of two fields and a job using them.
class Runner : public TempFolder {
protected:
    void SetUp() override {
        TempFolder::SetUp();
        write("in.txt", "ab1\r\ncd2\r\n");
        write("f.qfd",
              "\"A\",\"1\",\"2\",\"Char\",\"\",\"\"\r\n\"N\",\"3\",\"1\",\"Num\",\"\",\"\"\r\n");
        writeJobFile(path("job.dof"),
                     JobDefinition{"job", "in.txt", "out.csv", "f.qfd", "", false, false, {}});
    }
    void write(const std::string& name, const std::string& utf8) { writeText(name, utf8); }
    std::string read(const std::string& name) const { return readText(name); }
    // Runs quisk-run in the folder, after the shell commands in before.
    Outcome run(const std::string& arguments, const std::string& before = "") {
        std::string err = (dir / "stderr.txt").string();
        // A run that waits for something is ended and fails the test.
        std::string command = "cd '" + dir.string() + "' && " + before +
                              "timeout 20 '" QUISK_BIN_DIR "/quisk-run' " + arguments + " 2>'" +
                              err + "'";
        Outcome o;
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            o.out.append(buffer, n);
        int status = ::pclose(pipe);
        o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        o.err = readWholeFile(err).value_or("");
        std::filesystem::remove(err);
        return o;
    }
};

} // namespace quisk::testing
