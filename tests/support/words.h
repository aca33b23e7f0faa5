#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace brennix::test {

// A command line written as one text: its words, split at blanks.
inline std::vector<std::string> Words(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) {
        words.push_back(word);
    }
    return words;
}

}  // namespace brennix::test
