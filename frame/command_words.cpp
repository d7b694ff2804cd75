#include "frame/command_words.h"

bool CommandWordsSplit(const std::string& line, std::vector<std::string>& words) {
    words.clear();
    std::string word;
    bool inWord = false;
    size_t i = 0;
    const size_t n = line.size();
    while (i < n) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
            ++i;
            continue;
        }
        inWord = true;
        if (c == '\'') {
            const size_t end = line.find('\'', i + 1);
            if (end == std::string::npos) return false;
            word.append(line, i + 1, end - i - 1);
            i = end + 1;
        } else if (c == '"') {
            ++i;
            for (;;) {
                if (i >= n) return false;
                const char d = line[i];
                if (d == '"') break;
                if (d == '\\' && i + 1 < n &&
                    (line[i + 1] == '"' || line[i + 1] == '\\' || line[i + 1] == '$' ||
                     line[i + 1] == '`')) {
                    word.push_back(line[i + 1]);
                    i += 2;
                    continue;
                }
                word.push_back(d);
                ++i;
            }
            ++i;
        } else if (c == '\\') {
            if (i + 1 >= n) return false;
            word.push_back(line[i + 1]);
            i += 2;
        } else {
            word.push_back(c);
            ++i;
        }
    }
    if (inWord) words.push_back(word);
    return true;
}
