#pragma once

// Golden traces of headless runs: text lines of numbers compared with tests/golden/<name>.txt.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace goldentrace {

/// Compares the trace with tests/golden/<name>.txt, every number within 0.001 (so that a change of
/// rounding between compilers does not count); ZENTRIX_UPDATE_GOLDENS=1 writes the golden instead.
inline ::testing::AssertionResult Matches(const std::string& name, const std::string& actual) {
    const std::string path = std::string(ZENTRIX_SOURCE_DIR) + "/tests/golden/" + name + ".txt";
    if (const char* update = std::getenv("ZENTRIX_UPDATE_GOLDENS"); update && std::string(update) == "1") {
        std::ofstream(path) << actual;
        return ::testing::AssertionSuccess();
    }
    std::ifstream file(path);
    if (!file)
        return ::testing::AssertionFailure()
               << "no golden " << path << " (ZENTRIX_UPDATE_GOLDENS=1 writes it)";
    std::stringstream golden;
    golden << file.rdbuf();
    std::istringstream a(actual), g(golden.str());
    std::string lineA, lineG;
    for (int line = 1; std::getline(g, lineG); ++line) {
        if (!std::getline(a, lineA))
            return ::testing::AssertionFailure() << "the trace ends before golden line " << line;
        std::istringstream numbersA(lineA), numbersG(lineG);
        std::string wordA, wordG;
        while (numbersG >> wordG) {
            if (!(numbersA >> wordA))
                return ::testing::AssertionFailure() << "line " << line << ": " << lineA << " / " << lineG;
            if (wordA == wordG)
                continue;
            char* endA = nullptr;
            char* endG = nullptr;
            const double x = std::strtod(wordA.c_str(), &endA);
            const double y = std::strtod(wordG.c_str(), &endG);
            if (*endA != '\0' || *endG != '\0' || std::fabs(x - y) > 0.001)
                return ::testing::AssertionFailure()
                       << "line " << line << ": " << lineA << "\n golden: " << lineG;
        }
    }
    if (std::getline(a, lineA))
        return ::testing::AssertionFailure() << "the trace goes on past the golden: " << lineA;
    return ::testing::AssertionSuccess();
}

} // namespace goldentrace
