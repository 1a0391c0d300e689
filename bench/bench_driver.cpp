// The benchmark driver: starts the programs under measurement as processes
// (under Wine, like a user would) and observes them from outside. One JSON
// object per measured run on standard output.
//
//   bench_driver scan --exe LABEL=PATH [--exe ...] --fixture PATH --hosts N
//                [--runs R] [--warmup W] [--probe] [--memory] [--result-file PATH]
//     A scan over the fixture network: the programs take turns, R rounds.
//     The scan time is the life of the program's worker thread, creation to
//     exit, as the Wine server stamps them (GetThreadTimes): the thread sets
//     the first status text as its first act and the final one as its last,
//     and the observation sends the program nothing while it runs. After the
//     thread has ended, the status text and the row count are read back.
//       --probe    a thread of this process sends WM_NULL to the main window
//                  with SendMessageTimeout every 10 ms while the scan runs,
//                  and keeps the round trips
//       --memory   samples the program's private bytes (GetProcessMemoryInfo:
//                  PrivateUsage, or PagefileUsage where that is all Wine
//                  fills) every 5 ms while the scan runs
//       --result-file  handed to the program as its argument; its key=value
//                  line is read after the program ended and added to the run
//
//   bench_driver startup --exe LABEL=PATH=CLASS [--exe ...] [--runs R] [--warmup W]
//     Process start (just before CreateProcess) to the moment a visible
//     top-level window of class CLASS of that process exists, polled every
//     millisecond without sending the program anything.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "scan/literals.h"

namespace {

constexpr DWORD kStartBound = 60000;  // bounds of waits, not measurements
constexpr DWORD kScanBound = 300000;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string JsonText(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) continue;
        out += c;
    }
    return out + "\"";
}

struct Program {
    std::string label;
    std::string path;
    std::string className = "LanHostsMainWindow";
};

class Process {
public:
    Process(const Program& program, const std::string& arguments, const std::string& fixture) {
        SetEnvironmentVariableA("LANHOSTS_NET_FIXTURE", fixture.empty() ? nullptr : fixture.c_str());
        std::string commandLine = "\"" + program.path + "\" " + arguments;
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        started_ = CreateProcessA(program.path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &si, &pi_) != FALSE;
        SetEnvironmentVariableA("LANHOSTS_NET_FIXTURE", nullptr);
        className_ = program.className;
    }
    ~Process() {
        if (!started_) return;
        Close();
        if (worker_) CloseHandle(worker_);
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const { return started_; }
    HANDLE handle() const { return pi_.hProcess; }
    bool Exited() const { return WaitForSingleObject(pi_.hProcess, 0) != WAIT_TIMEOUT; }

    HWND FindMainWindow(bool visible) const {
        for (HWND hwnd = FindWindowExA(nullptr, nullptr, className_.c_str(), nullptr); hwnd;
             hwnd = FindWindowExA(nullptr, hwnd, className_.c_str(), nullptr)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            if (pid == pi_.dwProcessId && (!visible || IsWindowVisible(hwnd))) return hwnd;
        }
        return nullptr;
    }

    // The first thread of the process other than its main thread, polled for
    // every millisecond from the start (the program starts no other).
    HANDLE WaitForWorker() {
        for (DWORD waited = 0; waited < kStartBound && !worker_; ++waited) {
            HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
            if (snapshot != INVALID_HANDLE_VALUE) {
                THREADENTRY32 entry = {};
                entry.dwSize = sizeof entry;
                ULONGLONG earliest = ~0ull;
                for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
                    if (entry.th32OwnerProcessID != pi_.dwProcessId || entry.th32ThreadID == pi_.dwThreadId) continue;
                    HANDLE thread = OpenThread(SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
                    if (!thread) continue;
                    FILETIME created, exited, kernel, user;
                    GetThreadTimes(thread, &created, &exited, &kernel, &user);
                    ULONGLONG c = (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
                    if (c < earliest) {
                        if (worker_) CloseHandle(worker_);
                        worker_ = thread;
                        earliest = c;
                        ++otherThreads_;
                    } else {
                        CloseHandle(thread);
                        ++otherThreads_;
                    }
                }
                CloseHandle(snapshot);
            }
            if (worker_ || Exited()) break;
            Sleep(1);
        }
        return worker_;
    }
    int otherThreadsSeen() const { return otherThreads_; }

    HWND WaitForMainWindow() {
        for (DWORD waited = 0; waited < kStartBound; waited += 2) {
            if (HWND hwnd = FindMainWindow(true)) return main_ = hwnd;
            if (Exited()) return nullptr;
            Sleep(2);
        }
        return nullptr;
    }

    std::string StatusText() const {
        char buffer[256] = {};
        DWORD_PTR result = 0;
        SendMessageTimeoutA(FindWindowExA(main_, nullptr, STATUSCLASSNAMEA, nullptr), WM_GETTEXT, sizeof buffer,
                            reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, &result);
        return buffer;
    }

    long RowCount() const {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(FindWindowExA(main_, nullptr, WC_LISTVIEWA, nullptr), LVM_GETITEMCOUNT, 0, 0,
                                 SMTO_ABORTIFHUNG, 5000, &result))
            return -1;
        return static_cast<long>(result);
    }

    // Ends the program as a user does; should it not end, it is terminated.
    long Close() {
        if (closed_) return exitCode_;
        closed_ = true;
        HWND main = main_ ? main_ : FindMainWindow(false);
        if (main) PostMessageA(main, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi_.hProcess, 10000) != WAIT_OBJECT_0) {
            TerminateProcess(pi_.hProcess, 99);
            WaitForSingleObject(pi_.hProcess, 10000);
            exitCode_ = -2;
            return exitCode_;
        }
        DWORD code = 0;
        GetExitCodeProcess(pi_.hProcess, &code);
        exitCode_ = static_cast<long>(code);
        return exitCode_;
    }

private:
    PROCESS_INFORMATION pi_ = {};
    bool started_ = false;
    bool closed_ = false;
    long exitCode_ = 0;
    std::string className_;
    HANDLE worker_ = nullptr;
    HWND main_ = nullptr;
    int otherThreads_ = 0;
};

double ThreadLife(HANDLE thread) {
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(thread, &created, &exited, &kernel, &user)) return -1;
    ULONGLONG c = (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    ULONGLONG e = (static_cast<ULONGLONG>(exited.dwHighDateTime) << 32) | exited.dwLowDateTime;
    return e >= c ? static_cast<double>(e - c) * 1e-7 : -1;
}

// ---- the probe of responsiveness ----

struct Probe {
    HWND target = nullptr;
    std::atomic<bool> stop{false};
    std::vector<double> roundTrips;  // seconds
    int failures = 0;
};

DWORD WINAPI ProbeThread(LPVOID parameter) {
    auto* probe = static_cast<Probe*>(parameter);
    const double period = 0.010;
    double next = Now();
    while (!probe->stop.load()) {
        double t0 = Now();
        DWORD_PTR result = 0;
        LRESULT sent = SendMessageTimeoutA(probe->target, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
        double t1 = Now();
        if (sent) probe->roundTrips.push_back(t1 - t0);
        else ++probe->failures;
        next += period;
        double wait = next - Now();
        if (wait > 0) Sleep(static_cast<DWORD>(wait * 1000.0 + 0.5));
        else next = Now();
    }
    return 0;
}

// ---- the sampler of private bytes ----

struct Sampler {
    HANDLE process = nullptr;
    std::atomic<bool> stop{false};
    unsigned long long first = 0, peak = 0, last = 0, peakWorkingSet = 0;
    int samples = 0;
};

bool PrivateBytes(HANDLE process, unsigned long long& privateBytes, unsigned long long& workingSet) {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        return false;
    // Wine fills PagefileUsage (the private bytes on Windows too) and leaves
    // PrivateUsage at zero for other processes.
    privateBytes = std::max<unsigned long long>(counters.PrivateUsage, counters.PagefileUsage);
    workingSet = counters.WorkingSetSize;
    return true;
}

DWORD WINAPI SamplerThread(LPVOID parameter) {
    auto* s = static_cast<Sampler*>(parameter);
    for (;;) {
        unsigned long long privateBytes = 0, workingSet = 0;
        if (PrivateBytes(s->process, privateBytes, workingSet)) {
            if (s->samples++ == 0) s->first = privateBytes;
            s->peak = std::max(s->peak, privateBytes);
            s->peakWorkingSet = std::max(s->peakWorkingSet, workingSet);
            s->last = privateBytes;
        }
        if (s->stop.load()) break;
        Sleep(5);
    }
    return 0;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    std::size_t rank = static_cast<std::size_t>(p * static_cast<double>(values.size()) + 0.999999);
    if (rank < 1) rank = 1;
    if (rank > values.size()) rank = values.size();
    return values[rank - 1];
}

std::string ReadResultFile(const std::string& path) {
    std::ifstream in(path);
    std::string line, json;
    std::getline(in, line);
    std::istringstream fields(line);
    std::string field;
    while (fields >> field) {
        std::size_t eq = field.find('=');
        if (eq == std::string::npos) continue;
        json += ",\"heap_" + field.substr(0, eq) + "\":" + field.substr(eq + 1);
    }
    return json;
}

struct ScanOptions {
    std::string fixture;
    int hosts = 0;
    bool probe = false;
    bool memory = false;
    std::string resultFile;
};

std::string ExpectedSummary(int hosts) {
    return std::string(lanhosts::kLiterals.scanSuccessHead) + std::to_string(hosts) +
           lanhosts::kLiterals.scanSuccessTail;
}

// One scan; the JSON object of the run, or "" when it could not be measured.
std::string RunScan(const Program& program, const ScanOptions& o, int run) {
    if (!o.resultFile.empty()) DeleteFileA(o.resultFile.c_str());
    std::string arguments = o.resultFile.empty() ? "" : "\"" + o.resultFile + "\"";
    Process process(program, arguments, o.fixture);
    if (!process.started()) return "";
    Sampler sampler;
    HANDLE samplerThread = nullptr;
    if (o.memory) {
        sampler.process = process.handle();
        samplerThread = CreateThread(nullptr, 0, SamplerThread, &sampler, 0, nullptr);
    }
    HANDLE worker = process.WaitForWorker();
    if (!worker) return "";
    Probe probe;
    HANDLE probeThread = nullptr;
    HWND main = nullptr;
    if (o.probe) {
        main = process.WaitForMainWindow();
        if (!main) return "";
        probe.target = main;
        probeThread = CreateThread(nullptr, 0, ProbeThread, &probe, 0, nullptr);
    }
    bool ended = WaitForSingleObject(worker, kScanBound) == WAIT_OBJECT_0;
    if (probeThread) {
        probe.stop = true;
        WaitForSingleObject(probeThread, INFINITE);
        CloseHandle(probeThread);
    }
    if (samplerThread) {
        sampler.stop = true;
        WaitForSingleObject(samplerThread, INFINITE);
        CloseHandle(samplerThread);
    }
    if (!ended) return "";
    const double seconds = ThreadLife(worker);
    if (!main) main = process.WaitForMainWindow();
    const std::string status = process.StatusText();
    const long rows = process.RowCount();
    const bool ok = status == ExpectedSummary(o.hosts) && rows == o.hosts && seconds > 0;
    const long exitCode = process.Close();

    std::ostringstream json;
    json.precision(9);
    json << "{\"bench\":\"scan\",\"label\":" << JsonText(program.label) << ",\"hosts\":" << o.hosts
         << ",\"run\":" << run << ",\"ok\":" << (ok ? "true" : "false") << ",\"seconds\":" << seconds
         << ",\"rows\":" << rows << ",\"exit\":" << exitCode << ",\"other_threads\":" << process.otherThreadsSeen();
    if (o.probe) {
        double worst = probe.roundTrips.empty()
                           ? -1
                           : *std::max_element(probe.roundTrips.begin(), probe.roundTrips.end());
        json << ",\"probe_samples\":" << probe.roundTrips.size() << ",\"probe_failures\":" << probe.failures
             << ",\"probe_worst_ms\":" << worst * 1000.0
             << ",\"probe_p99_ms\":" << Percentile(probe.roundTrips, 0.99) * 1000.0
             << ",\"probe_median_ms\":" << Percentile(probe.roundTrips, 0.5) * 1000.0;
    }
    if (o.memory) {
        json << ",\"private_first\":" << sampler.first << ",\"private_peak\":" << sampler.peak
             << ",\"private_last\":" << sampler.last << ",\"working_set_peak\":" << sampler.peakWorkingSet
             << ",\"private_samples\":" << sampler.samples;
    }
    if (!o.resultFile.empty()) json << ReadResultFile(o.resultFile);
    json << "}";
    return json.str();
}

std::string RunStartup(const Program& program, int run) {
    const double t0 = Now();
    Process process(program, "", "");
    if (!process.started()) return "";
    double t1 = -1;
    for (DWORD waited = 0; waited < kStartBound; ++waited) {
        if (process.FindMainWindow(true)) {
            t1 = Now();
            break;
        }
        if (process.Exited()) break;
        Sleep(1);
    }
    const long exitCode = process.Close();
    if (t1 < 0) return "";
    std::ostringstream json;
    json.precision(9);
    json << "{\"bench\":\"startup\",\"label\":" << JsonText(program.label) << ",\"run\":" << run
         << ",\"ok\":true,\"ms\":" << (t1 - t0) * 1000.0 << ",\"exit\":" << exitCode << "}";
    return json.str();
}

[[noreturn]] void Usage() {
    std::fprintf(stderr, "usage: bench_driver scan|startup --exe LABEL=PATH[=CLASS] ... (see bench_driver.cpp)\n");
    std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) Usage();
    const std::string mode = argv[1];
    std::vector<Program> programs;
    ScanOptions scan;
    int runs = 5, warmup = 0;
    for (int i = 2; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) Usage();
            return argv[++i];
        };
        if (a == "--exe") {
            std::string v = value();
            std::size_t eq = v.find('=');
            if (eq == std::string::npos) Usage();
            Program p;
            p.label = v.substr(0, eq);
            p.path = v.substr(eq + 1);
            // PATH=CLASS: the class is after the last '=' that follows ".exe".
            std::size_t exe = p.path.find(".exe=");
            if (exe != std::string::npos) {
                p.className = p.path.substr(exe + 5);
                p.path = p.path.substr(0, exe + 4);
            }
            programs.push_back(p);
        } else if (a == "--fixture") {
            scan.fixture = value();
        } else if (a == "--hosts") {
            scan.hosts = std::atoi(value().c_str());
        } else if (a == "--runs") {
            runs = std::atoi(value().c_str());
        } else if (a == "--warmup") {
            warmup = std::atoi(value().c_str());
        } else if (a == "--probe") {
            scan.probe = true;
        } else if (a == "--memory") {
            scan.memory = true;
        } else if (a == "--result-file") {
            scan.resultFile = value();
        } else {
            Usage();
        }
    }
    if (programs.empty() || (mode != "scan" && mode != "startup")) Usage();
    int failed = 0;
    // The programs take turns, so that a slow spell of the machine does not
    // fall on one of them alone.
    for (int round = -warmup; round < runs; ++round) {
        for (const Program& program : programs) {
            std::string json;
            for (int attempt = 0; attempt < 3 && json.empty(); ++attempt) {
                json = mode == "scan" ? RunScan(program, scan, round + 1) : RunStartup(program, round + 1);
            }
            if (json.empty()) {
                std::fprintf(stderr, "bench_driver: %s: run %d could not be measured\n", program.label.c_str(),
                             round + 1);
                ++failed;
                continue;
            }
            if (round >= 0) {
                std::printf("%s\n", json.c_str());
                std::fflush(stdout);
            }
        }
    }
    return failed ? 1 : 0;
}
