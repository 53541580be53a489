#include "support/cli_process.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdlib>

#include "document/path_text.h"
#include "document/utf16.h"
#include "generator/shape_files.h"

namespace orvane::test {

namespace {

// Runs the command line through the shell; the program's exit status.
int runShell(const std::string& command) {
#ifdef _WIN32
    // cmd.exe /c drops the outermost quotes of the line; UTF-16 keeps every name.
    const std::u16string wide = toUtf16("\"" + command + " <NUL\"");
    return _wsystem(reinterpret_cast<const wchar_t*>(wide.c_str()));
#else
    const int raw = std::system((command + " </dev/null").c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
}

}  // namespace

std::string quoted(const std::filesystem::path& path) {
    const std::string s = pathText(path);
#ifdef _WIN32
    return "\"" + s + "\"";
#else
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
#endif
}

CliResult runProgram(const std::filesystem::path& program, const std::filesystem::path& dir,
                     const std::string& arguments) {
    CliResult result;
    result.status = runShell(quoted(std::filesystem::absolute(program).make_preferred()) + " " + arguments + " >" +
                             quoted(dir / "stdout.txt") + " 2>" + quoted(dir / "stderr.txt"));
    result.out = readBytes(dir / "stdout.txt");
    result.err = readBytes(dir / "stderr.txt");
    std::filesystem::remove(dir / "stdout.txt");
    std::filesystem::remove(dir / "stderr.txt");
    return result;
}

CliResult runCli(const std::filesystem::path& dir, const std::string& arguments) {
    return runProgram(ORVANE_CLI_PATH, dir, arguments);
}

}  // namespace orvane::test
