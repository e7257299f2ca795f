#include "call_operations.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "date_text.h"
#include "operation.h"

namespace {

std::string Decimal(double v, int decimals)
{
    char buf[400];  // the largest double has 309 digits before the point
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

bool ParseInteger(const std::string& s, long long& out)
{
    if (s.empty()) return false;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(s.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < INT_MIN || v > INT_MAX) return false;
    out = v;
    return true;
}

bool ParseDecimal(const std::string& s, double& out)
{
    if (s.empty()) return false;
    errno = 0;
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (errno == ERANGE || *end != '\0' || !std::isfinite(v)) return false;
    out = v;
    return true;
}

bool ParseArgument(char kind, const std::string& s, Argument& out)
{
    switch (kind) {
    case 'i': return ParseInteger(s, out.integer);
    case 'd': return ParseDecimal(s, out.number);
    case 'k': out.text = s; return s == "lon" || s == "lat";
    default: out.text = s; return true;
    }
}

const char* ExpectedArgument(char kind)
{
    return kind == 'i' ? "a whole number" : kind == 'd' ? "a decimal number" : "lon or lat";
}

CallResult BadCall(const std::string& message) { return {2, message}; }

// Every operation the command line knows, area by area. Built on first use,
// so the tables of the other files are certainly initialised.
const std::vector<std::span<const Operation>>& OperationTables()
{
    static const std::vector<std::span<const Operation>> tables = {
        CalendarFoundationOperations,
        AstronomyOperations,
        ChineseCalendarOperations,
        NamesAndDatesOperations,
        DayInfoOperations,
    };
    return tables;
}

}  // namespace

std::string Number(double v) { return Decimal(v, 10); }
std::string Moment(double v) { return MomentToText(v) + " " + Decimal(v, 6); }

CallResult CallOperation(const std::vector<std::string>& args)
{
    if (args.empty()) return BadCall("call: missing operation name");
    const Operation* found = nullptr;
    for (const auto& table : OperationTables())
        for (const Operation& op : table)
            if (args[0] == op.name) found = &op;
    if (found) {
        const Operation& op = *found;
        std::string usage = std::string("usage: call ") + op.name + " " + op.argumentNames;
        size_t count = std::char_traits<char>::length(op.signature);
        if (args.size() - 1 != count)
            return BadCall(std::string(op.name) + ": expected " + std::to_string(count) +
                           " argument(s); " + usage);
        Arguments parsed(count);
        for (size_t i = 0; i < count; ++i) {
            if (!ParseArgument(op.signature[i], args[i + 1], parsed[i]))
                return BadCall(std::string(op.name) + ": malformed argument " + std::to_string(i + 1) +
                               " '" + args[i + 1] + "' (expected " + ExpectedArgument(op.signature[i]) +
                               "); " + usage);
        }
        return {0, op.run(parsed)};
    }
    return BadCall("call: unknown operation '" + args[0] + "' (see lumora-cli call --list)");
}

std::string OperationList()
{
    std::string out;
    for (const auto& table : OperationTables())
        for (const Operation& op : table) out += std::string(op.name) + " " + op.argumentNames + "\n";
    return out;
}
