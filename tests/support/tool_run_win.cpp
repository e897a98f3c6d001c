#include "tool_run_win.h"

#include "platform/win_raii.h"
#include "test_files_win.h"

ToolRun RunTool(const std::string& arguments, bool oneStream)
{
    std::string commandLine = "\"" + BuildFolder() + "\\zelbo-pack.exe\" " + arguments;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    DWORD exitCode = ~0u;
    {
        UniqueFile out(CreateFileA("tool.out", GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS, 0, nullptr));
        UniqueFile err(oneStream ? nullptr
                                 : CreateFileA("tool.err", GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS, 0, nullptr));
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out.Get();
        startup.hStdError = oneStream ? out.Get() : err.Get();
        PROCESS_INFORMATION process = {};
        // Without a console of its own, which would keep it waiting for Enter before it ends.
        if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr, nullptr,
                           &startup, &process)) {
            UniqueKernelHandle thread(process.hThread), child(process.hProcess);
            WaitForSingleObject(child.Get(), 120000);
            GetExitCodeProcess(child.Get(), &exitCode);
        }
    }
    const ToolRun run{static_cast<int>(exitCode), ReadFileBytes("tool.out"), ReadFileBytes("tool.err")};
    DeleteFileA("tool.out");
    DeleteFileA("tool.err");
    return run;
}

std::ostream& operator<<(std::ostream& out, const ToolRun& run)
{
    return out << "exit " << run.exitCode << "\nstdout:\n" << run.out << "stderr:\n" << run.err;
}
