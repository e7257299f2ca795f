// One operation that `lumora-cli call` can run: its name, the kinds of its
// arguments and how it runs. Each area of the core lists its operations in a
// table of its own (operations_*.cpp).
#pragma once
#include <functional>
#include <span>
#include <string>
#include <vector>

// One parsed argument: a whole number, a decimal or a text, as the
// operation's signature says.
struct Argument {
    long long integer = 0;
    double number = 0;
    std::string text;
    int I() const { return int(integer); }
};
using Arguments = std::vector<Argument>;

struct Operation {
    const char* name;
    // One letter an argument: i whole number (32-bit), d decimal, t text,
    // k "lon" or "lat".
    const char* signature;
    const char* argumentNames;
    std::function<std::string(const Arguments&)> run;
};

// Result forms: doubles with 10 decimals; moments as their text, a blank and
// six decimals.
std::string Number(double v);
std::string Moment(double v);

extern const std::span<const Operation> CalendarFoundationOperations;
extern const std::span<const Operation> AstronomyOperations;
extern const std::span<const Operation> ChineseCalendarOperations;
extern const std::span<const Operation> NamesAndDatesOperations;
extern const std::span<const Operation> DayInfoOperations;
