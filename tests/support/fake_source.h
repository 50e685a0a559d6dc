// A report source of fixed facts and texts, for exact tests of whole lines.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "report/source.h"

namespace qv::test {

class FakeSource : public ReportSource {
  public:
    std::map<ULONG, std::string> Strings = {{13, "Time since system start"},
                                            {15, "Free physical memory"},
                                            {16, "Free virtual memory"},
                                            {17, "Swap file"},
                                            {18, "Free swap space"},
                                            {19, "Swap slack"},
                                            {25, "Number of processes"},
                                            {27, "Free space on all local volumes"},
                                            {28, "Free space on %s"},
                                            {40, "day"},
                                            {41, "days"}};
    std::string Date = "Tue, 07/03/01 02:05:09PM UTC";
    std::string DateFormatAsked;
    std::uint64_t Milliseconds = 90061000;  // 1 day, 1:01:01
    MemoryStatus Memory{1000, 3000, 500};
    SwapFile Swap{"/swapfile", 2048};
    int Processes = 123;
    std::vector<Volume> Volumes;
    char Conversion = 's';             // mount points, as on POSIX
    bool SwapFreeIsStoreFree = false;  // the classic formula
    int MemoryQueries = 0;

    std::string String(ULONG Id) override {
        const auto found = Strings.find(Id);
        return found == Strings.end() ? std::string() : found->second;
    }
    std::string FormatDateNow(const std::string& format) override {
        DateFormatAsked = format;
        return Date;
    }
    std::uint64_t MillisecondsSinceStart() override { return Milliseconds; }
    MemoryStatus QueryMemoryStatus() override {
        ++MemoryQueries;
        return Memory;
    }
    SwapFile QuerySwapFile() override { return Swap; }
    int CountProcesses() override { return Processes; }
    std::vector<Volume> QueryVolumes() override { return Volumes; }
    char VolumeNameConversion() override { return Conversion; }
    bool FreeSwapIsStoreFree() override { return SwapFreeIsStoreFree; }
};

}  // namespace qv::test
