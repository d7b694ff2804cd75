// Splitting a text at any of a set of delimiter characters; empty pieces are never made.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// An empty delimiter set leaves the text whole (one piece, none when the text is empty).
std::vector<std::string> SplitPieces(std::string_view text, std::string_view delimiters);
