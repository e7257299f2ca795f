// Solar terms and moon phases of 2000-2030 against an independent ephemeris
// (astronomy-engine; see reference/README.md). Both agree to well within a
// minute; the largest differences are printed for the record.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "solver.h"

namespace {

struct Extremes {
    double largest = 0;
    int count = 0;
    void Add(double seconds)
    {
        largest = std::fmax(largest, std::fabs(seconds));
        ++count;
    }
};

}  // namespace

TEST(ReferenceEvents, TermsAndMoonPhasesAgreeWithinAMinute)
{
    std::ifstream in(LUMORA_REFERENCE_EVENTS);
    ASSERT_TRUE(in) << "cannot read " << LUMORA_REFERENCE_EVENTS;
    Extremes terms, newMoons, fullMoons;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string kind;
        int n = 0;
        double reference = 0;
        ASSERT_TRUE(fields >> kind >> n >> reference) << line;
        int32_t before = int32_t(std::floor(reference)) - 1;
        double seconds;
        if (kind == "term") {
            seconds = (AstroTermOnOrAfter(before, n, 0) - reference) * 86400;
            terms.Add(seconds);
        } else {
            seconds = (NextNewOrFullMoon(before, kind == "newmoon" ? 0 : 1) - reference) * 86400;
            (kind == "newmoon" ? newMoons : fullMoons).Add(seconds);
        }
        EXPECT_LT(std::fabs(seconds), 60) << line;
    }
    EXPECT_EQ(terms.count, 31 * 24);
    EXPECT_GT(newMoons.count, 380);
    EXPECT_GT(fullMoons.count, 380);
    std::printf("largest differences (s): solar terms %.1f over %d, new moons %.1f over %d, "
                "full moons %.1f over %d\n",
                terms.largest, terms.count, newMoons.largest, newMoons.count, fullMoons.largest,
                fullMoons.count);
}
