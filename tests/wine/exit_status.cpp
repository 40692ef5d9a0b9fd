// wine-exit-status.exe <program> [arguments...]
//
// Runs a Windows program and passes its exit code on without losing failures.
// Wine hands a process's exit code to Linux modulo 256, so an HRESULT such as
// 0x80070100 would reach CTest as 0. This launcher runs inside Wine, where the
// whole 32-bit code is visible, and maps it onto an exit status that keeps the
// verdict: 0 only for 0; otherwise the low byte, or 1 when the low byte is 0.
// A non-zero code is also printed in full on standard error.
//
// The child shares the launcher's standard handles (its output is passed
// through untouched) and sits in a job that is killed if the launcher goes, so
// a test that times out does not leave the program running.
#include <windows.h>

#include <cstdio>

namespace {

// The command line after the launcher's own name, as Windows parses argv[0]:
// a quoted first token ends at the next quote, an unquoted one at a blank.
wchar_t* SkipFirstArgument(wchar_t* line) {
  if (*line == L'"') {
    ++line;
    while (*line != L'\0' && *line != L'"') {
      ++line;
    }
    if (*line == L'"') {
      ++line;
    }
  } else {
    while (*line != L'\0' && *line != L' ' && *line != L'\t') {
      ++line;
    }
  }
  while (*line == L' ' || *line == L'\t') {
    ++line;
  }
  return line;
}

int Fail(const char* what) {
  std::fprintf(stderr, "wine-exit-status: %s failed (error %lu)\n", what, GetLastError());
  return 125;
}

}  // namespace

int main() {
  wchar_t* command = SkipFirstArgument(GetCommandLineW());
  if (*command == L'\0') {
    std::fprintf(stderr, "usage: wine-exit-status.exe <program> [arguments...]\n");
    return 125;
  }

  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  if (job != nullptr) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  }

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, command, nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr,
                      &startup, &process)) {
    return Fail("CreateProcess");
  }
  if (job != nullptr) {
    AssignProcessToJobObject(job, process.hProcess);
  }
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);

  DWORD code = 0;
  if (WaitForSingleObject(process.hProcess, INFINITE) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process.hProcess, &code)) {
    return Fail("waiting for the program");
  }
  CloseHandle(process.hProcess);
  if (code == 0) {
    return 0;
  }
  std::fprintf(stderr, "wine-exit-status: exit code 0x%08lX\n", code);
  std::fflush(stderr);
  return (code & 0xFFu) != 0 ? static_cast<int>(code & 0xFFu) : 1;
}
