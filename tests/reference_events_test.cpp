// Solar terms and moon phases of 2000-2030 against independent ephemerides
// (see reference/README.md): astronomy-engine for everything, and the
// lunar-phase theory of Meeus' Astronomical Algorithms (via astronomia) for
// the moon phases. The largest differences are printed for the record.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "solver.h"

namespace {

struct Differences {
    double largest = 0;  // seconds
    int count = 0;
};

struct FileDifferences {
    Differences terms, newMoons, fullMoons;
};

// Every event of a reference file is looked for from the day before it, as
// the calendar's finders are called, and must agree within `tolerance` seconds.
FileDifferences CompareWithReference(const std::string& path, double tolerance)
{
    FileDifferences result;
    std::ifstream in(path);
    EXPECT_TRUE(in) << "cannot read " << path;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string kind;
        int n = 0;
        double reference = 0;
        if (!(fields >> kind >> n >> reference)) {
            ADD_FAILURE() << "unreadable line: " << line;
            continue;
        }
        int32_t dayBefore = int32_t(std::floor(reference)) - 1;
        double ours = kind == "term"      ? AstroTermOnOrAfter(dayBefore, n, 0)
                      : kind == "newmoon" ? NextNewOrFullMoon(dayBefore, 0)
                                          : NextNewOrFullMoon(dayBefore, 1);
        double seconds = std::fabs(ours - reference) * 86400;
        Differences& d = kind == "term" ? result.terms : kind == "newmoon" ? result.newMoons : result.fullMoons;
        d.largest = std::fmax(d.largest, seconds);
        ++d.count;
        EXPECT_LT(seconds, tolerance) << path << ": " << line;
    }
    std::printf("%s: largest differences (s): solar terms %.1f over %d, new moons %.1f over %d, "
                "full moons %.1f over %d\n",
                path.substr(path.rfind('/') + 1).c_str(), result.terms.largest, result.terms.count,
                result.newMoons.largest, result.newMoons.count, result.fullMoons.largest,
                result.fullMoons.count);
    return result;
}

}  // namespace

TEST(ReferenceEvents, SolarTermsAgreeWithAstronomyEngineWithinAMinute)
{
    FileDifferences d = CompareWithReference(LUMORA_REFERENCE_DIR "/astro_events_2000_2030.tsv", 65);
    EXPECT_EQ(d.terms.count, 31 * 24);
    EXPECT_LT(d.terms.largest, 60);
    // Its moon-phase times run 21-52 s later than the Meeus-type theories,
    // so those are held to a slightly wider bound here and to a minute below.
    EXPECT_GT(d.newMoons.count, 380);
    EXPECT_GT(d.fullMoons.count, 380);
}

TEST(ReferenceEvents, MoonPhasesAgreeWithMeeusWithinAMinute)
{
    FileDifferences d = CompareWithReference(LUMORA_REFERENCE_DIR "/moon_phases_meeus_2000_2030.tsv", 60);
    EXPECT_EQ(d.newMoons.count, 384);
    EXPECT_EQ(d.fullMoons.count, 383);
}
