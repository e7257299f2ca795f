// lumora-cli's argument handling: the input is argv, its words separated by
// zero bytes, handed to the whole program as main would. Every command and
// option is open to it; only the work a span asks for is kept short (export
// and records over a few weeks or years, the condition queries over one or
// two years), since a run must not take minutes. Output goes nowhere: run
// it with -close_fd_mask=3.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "calendar_flags.h"
#include "commands.h"
#include "converter.h"
#include "platform.h"
#include "terminal.h"

namespace {

std::string RegistryFile;

// The day numbers that a word may be read as, in every form a command takes.
void AddDays(const std::string& word, std::vector<int32_t>& days)
{
    for (bool bc : {false, true}) {
        if (auto date = ParseDateArgument(word, bc)) days.push_back(DateToDayNumber(*date));
        int32_t j = ReadDateField({word, FieldCalendar::Gregorian, bc});
        if (j != NoDayNumber) days.push_back(j);
    }
}

bool IsShortWork(const std::vector<std::string>& words)
{
    size_t command = 0;
    while (command < words.size() && (words[command] == "--modern" || words[command] == "--chunjie")) ++command;
    if (command == words.size()) return true;
    const std::string& name = words[command];
    std::vector<int32_t> days, numbers;
    for (size_t i = command + 1; i < words.size(); ++i) {
        AddDays(words[i], days);
        if (auto n = ParseWholeNumber(words[i], -100000000, 100000000)) numbers.push_back(int32_t(*n));
        // A span's length may follow --years or --days; anything long is refused.
        if (name == "query" && (words[i - 1] == "--years") && !ParseWholeNumber(words[i], -2, 2)) return false;
    }
    auto spread = [](const std::vector<int32_t>& v) {
        return v.empty() ? 0 : int64_t(*std::max_element(v.begin(), v.end())) - *std::min_element(v.begin(), v.end());
    };
    if (name == "export") return spread(days) <= 62;
    if (name == "records") return spread(numbers) <= 10;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    RegistryFile = std::string(base) + "/lumora-fuzz-cli-" + std::to_string(getpid());
    setenv("LUMORA_REGISTRY", RegistryFile.c_str(), 1);
    setenv("LUMORA_SCREEN", "1920x1080", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> words;
    std::string input(reinterpret_cast<const char*>(data), size);
    for (size_t start = 0; start <= input.size() && words.size() < 16;) {
        size_t end = std::min(input.find('\0', start), input.size());
        words.push_back(input.substr(start, end - start));
        start = end + 1;
    }
    if (input.empty()) words.clear();
    if (!IsShortWork(words)) return 0;

    // Each run starts as a fresh process would: no registry, no switches.
    unlink(RegistryFile.c_str());
    SetModernCalculateAncientFlag(0);
    GanZhiFromChunjieFlag = 0;
    RecordedMediaCommands().clear();
    RecordedClips().clear();

    std::vector<std::string> storage = {"lumora-cli"};
    storage.insert(storage.end(), words.begin(), words.end());
    std::vector<char*> argv;
    for (std::string& word : storage) argv.push_back(word.data());
    argv.push_back(nullptr);
    int status = RunCli(int(storage.size()), argv.data());
    // Done (0) or refused with a message (2); nothing else.
    if (status != 0 && status != 2) std::abort();
    std::fflush(stdout);
    return 0;
}
